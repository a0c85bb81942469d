#include "TFilter2Form.h"
#include "TFilterForm.h"
#include "TSearchForm.h"
#include "TestSupport.h"
#include "foundations/Shell.h"
#include "foundations/Table.h"
#include "records/TMainForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

// A main window on the shipped address database with three records:
// 1 Meier (marked), 2 Adler, 3 Meierhof in Berlin.
struct Fixture {
    TestInstallation installation;
    RecordingDialogs dialogs;
    RecordingShell shell;
    std::unique_ptr<TMainForm> main;

    Fixture() {
        const Folders folders =
            Folders::forProgramDir(installation.programDir(), installation.lettersDir());
        main = std::make_unique<TMainForm>(
            ProductConfig::fromProgramName(QStringLiteral("quillon")), folders, dialogs, shell);
        add(QStringLiteral("Meier"), QStringLiteral("Hamburg"), QStringLiteral("Wahr"));
        add(QStringLiteral("Adler"), QStringLiteral("Köln"), QStringLiteral("Falsch"));
        add(QStringLiteral("Meierhof"), QStringLiteral("Berlin"), QStringLiteral("Falsch"));
        table().first();
    }
    Table& table() { return *main->ActiveTable(); }
    void add(const QString& name, const QString& ort, const QString& selected) {
        table().append();
        table().setText(QStringLiteral("Name"), name);
        table().setText(QStringLiteral("Ort"), ort);
        table().setText(QStringLiteral("Selected"), selected);
        table().post();
    }
    QString countText() { return main->findChild<QLabel*>(QStringLiteral("StatusPanel"))->text(); }
    QStringList markedNames() {
        QStringList names;
        for (int row = 0; row < table().recordCount(); ++row) {
            table().moveTo(row);
            if (table().text(QStringLiteral("Selected")) == QStringLiteral("Wahr"))
                names.append(table().text(QStringLiteral("Name")));
        }
        return names;
    }
};

template <typename T> T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void click(QAbstractButton* button, int times = 1) {
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(button, Qt::LeftButton);
}

QString expressionOf(TFilterForm& form) {
    return child<QLineEdit>(form, "ExpressionEdit")->text();
}

QStringList resultLines(TSearchForm& form) {
    return {child<QLabel>(form, "ResultLabel1")->text(),
            child<QLabel>(form, "ResultLabel2")->text(),
            child<QLabel>(form, "ResultLabel3")->text()};
}

} // namespace

class TestFilterSearch : public QObject {
    Q_OBJECT
private slots:
    // The window's wiring: field choice, typed values, operator and connector clicks.
    void filterExpressionFromControls_data() {
        QTest::addColumn<int>("field1");
        QTest::addColumn<int>("operatorClicks1");
        QTest::addColumn<QString>("value1");
        QTest::addColumn<int>("connectorClicks");
        QTest::addColumn<int>("field2");
        QTest::addColumn<int>("operatorClicks2");
        QTest::addColumn<QString>("value2");
        QTest::addColumn<QString>("expression");
        QTest::newRow("first field exact") << 0 << 0 << "5" << 0 << -1 << 0 << ""
                                           << "ID = '5'";
        QTest::newRow("fifth field prefix") << 4 << 0 << "Mei" << 0 << -1 << 0 << ""
                                            << "Mail = 'Mei*'";
        QTest::newRow("empty value exact") << 3 << 0 << "" << 0 << -1 << 0 << ""
                                           << "LetztesMail = ''";
        QTest::newRow("empty value prefix") << 7 << 0 << "" << 0 << -1 << 0 << ""
                                            << "Name = '*'";
        QTest::newRow("operator twice") << 7 << 2 << "M" << 0 << -1 << 0 << ""
                                        << "Name < 'M*'";
        QTest::newRow("operator four times") << 7 << 4 << "M" << 0 << -1 << 0 << ""
                                             << "Name = 'M*'";
        QTest::newRow("und") << 7 << 0 << "Mei" << 1 << 12 << 1 << "Ber"
                             << "Name = 'Mei*' AND Ort <> 'Ber*'";
        QTest::newRow("oder") << 0 << 3 << "1" << 2 << 4 << 3 << "x"
                              << "ID > '1' OR Mail > 'x*'";
        QTest::newRow("connector back to none") << 7 << 1 << "Mei" << 3 << 12 << 0 << "Ber"
                                                << "Name <> 'Mei*'";
    }
    void filterExpressionFromControls() {
        QFETCH(int, field1);
        QFETCH(int, operatorClicks1);
        QFETCH(QString, value1);
        QFETCH(int, connectorClicks);
        QFETCH(int, field2);
        QFETCH(int, operatorClicks2);
        QFETCH(QString, value2);
        QFETCH(QString, expression);
        Fixture f;
        TFilterForm form(*f.main);
        form.show();
        child<QComboBox>(form, "Field1ComboBox")->setCurrentIndex(field1);
        click(child<QToolButton>(form, "Operate1Btn"), operatorClicks1);
        QTest::keyClicks(child<QLineEdit>(form, "Exp1Edit"), value1);
        if (connectorClicks > 0) {
            // Condition 2 can only be filled while a connector is chosen.
            click(child<QToolButton>(form, "ConectorBtn"));
            child<QComboBox>(form, "Field2ComboBox")->setCurrentIndex(field2);
            click(child<QToolButton>(form, "Operate2Btn"), operatorClicks2);
            QTest::keyClicks(child<QLineEdit>(form, "Exp2Edit"), value2);
            click(child<QToolButton>(form, "ConectorBtn"), connectorClicks - 1);
        }
        QCOMPARE(expressionOf(form), expression);
        QCOMPARE(child<QToolButton>(form, "Operate1Btn")->text(), expression.section(u' ', 1, 1));
    }

    void filterWindowStartsWithDefaultsAndKeepsItsState() {
        Fixture f;
        TFilterForm form(*f.main);
        form.show();
        auto* field1 = child<QComboBox>(form, "Field1ComboBox");
        auto* field2 = child<QComboBox>(form, "Field2ComboBox");
        auto* connector = child<QToolButton>(form, "ConectorBtn");
        QCOMPARE(field1->count(), 17);
        QCOMPARE(field1->currentText(), QStringLiteral("Land"));
        QCOMPARE(field2->currentText(), QStringLiteral("Ansprechpartner"));
        QCOMPARE(expressionOf(form), QStringLiteral("Land = '*'"));
        QCOMPARE(connector->text(), QStringLiteral("keine zweite Bedingung"));
        QVERIFY(!field2->isEnabled());
        QVERIFY(!child<QToolButton>(form, "Operate2Btn")->isEnabled());
        QVERIFY(!child<QLineEdit>(form, "Exp2Edit")->isEnabled());

        field1->setCurrentIndex(7);
        click(child<QToolButton>(form, "Operate1Btn"));
        click(connector);
        QCOMPARE(connector->text(), QStringLiteral("und"));
        QVERIFY(field2->isEnabled());
        QVERIFY(child<QLineEdit>(form, "Exp2Edit")->isEnabled());
        child<QLineEdit>(form, "ExpressionEdit")->setText(QStringLiteral("Ort = 'x'"));
        click(child<QPushButton>(form, "CloseButton"));
        QVERIFY(form.isHidden());
        QCOMPARE(form.result(), int(QDialog::Accepted));

        // Shown again: the choices stay, the expert's text gives way to the generated one.
        form.show();
        QCOMPARE(field1->currentText(), QStringLiteral("Name"));
        QCOMPARE(expressionOf(form), QStringLiteral("Name <> '*' AND Ansprechpartner = '*'"));
        click(connector);
        QCOMPARE(connector->text(), QStringLiteral("oder"));
        click(connector);
        QCOMPARE(connector->text(), QStringLiteral("keine zweite Bedingung"));
        QVERIFY(!field2->isEnabled());
        QCOMPARE(expressionOf(form), QStringLiteral("Name <> '*'"));
    }

    void filterOnAndOff() {
        Fixture f;
        f.add(QStringLiteral("O'Brien"), QStringLiteral("Dublin"), QStringLiteral("Falsch"));
        TFilterForm form(*f.main);
        form.show();
        child<QComboBox>(form, "Field1ComboBox")->setCurrentIndex(7);
        QTest::keyClicks(child<QLineEdit>(form, "Exp1Edit"), QStringLiteral("mei"));
        click(child<QPushButton>(form, "OnBitBtn"));
        QVERIFY(f.table().filtered());
        QCOMPARE(f.table().filter(), QStringLiteral("Name = 'mei*'"));
        QCOMPARE(f.countText(), QStringLiteral("2 Datensätze"));
        QVERIFY(form.isVisible());

        // A quote in the value is part of the value.
        child<QLineEdit>(form, "Exp1Edit")->setText(QStringLiteral("o'b"));
        click(child<QPushButton>(form, "OnBitBtn"));
        QCOMPARE(f.countText(), QStringLiteral("1 Datensätze"));
        QCOMPARE(f.table().text(QStringLiteral("Name")), QStringLiteral("O'Brien"));

        // The expert's own expression, with Enter on the default button.
        auto* expert = child<QLineEdit>(form, "ExpressionEdit");
        expert->setText(QStringLiteral("Selected='True' OR Ort = 'Ber*'"));
        QTest::keyClick(expert, Qt::Key_Return);
        QCOMPARE(f.countText(), QStringLiteral("2 Datensätze"));
        QVERIFY(f.dialogs.shown.isEmpty());

        // Refused: the store's message, the filter and count as they were, the window open.
        expert->setText(QStringLiteral("Name = 'x"));
        click(child<QPushButton>(form, "OnBitBtn"));
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().kind, UserDialogs::Kind::Error);
        QVERIFY(f.dialogs.shown.first().text.contains(QStringLiteral("Filterausdruck")));
        QCOMPARE(f.table().filter(), QStringLiteral("Selected='True' OR Ort = 'Ber*'"));
        QCOMPARE(f.countText(), QStringLiteral("2 Datensätze"));
        QVERIFY(form.isVisible());

        click(child<QPushButton>(form, "OffBitBtn"));
        QVERIFY(!f.table().filtered());
        QCOMPARE(f.table().filter(), QString());
        QCOMPARE(f.countText(), QStringLiteral("4 Datensätze"));
        QVERIFY(form.isVisible());

        click(child<QPushButton>(form, "HilfeBitBtn"));
        QCOMPARE(f.shell.opened,
                 QStringList{f.installation.programDir() + QStringLiteral("helpSB/help.html")});
    }

    void filterStaysOnAfterClosing() {
        Fixture f;
        TFilterForm form(*f.main);
        form.show();
        child<QLineEdit>(form, "ExpressionEdit")->setText(QStringLiteral("Selected='True'"));
        click(child<QPushButton>(form, "OnBitBtn"));
        click(child<QPushButton>(form, "CloseButton"));
        QVERIFY(f.table().filtered());
        QCOMPARE(f.table().recordCount(), 1);
    }

    void markByTextThroughTheWindow() {
        Fixture f;
        TFilter2Form form(*f.main);
        form.show();
        auto* edit = child<QLineEdit>(form, "Edit1");
        QCOMPARE(form.focusWidget(), edit);
        f.table().last();
        QTest::keyClicks(edit, QStringLiteral("HOF"));
        QCOMPARE(f.table().recNo(), 0); // a changed text starts at the first record
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(f.markedNames(), (QStringList{"Meier", "Meierhof"}));
        QVERIFY(form.isVisible());

        // An empty text occurs in no field.
        edit->clear();
        click(child<QPushButton>(form, "OKButton"));
        QCOMPARE(f.markedNames(), (QStringList{"Meier", "Meierhof"}));

        // From the first record, the button marks the same way as Enter.
        edit->setText(QStringLiteral("köln"));
        QTest::keyClick(child<QPushButton>(form, "AbortButton"), Qt::Key_Return);
        QCOMPARE(f.markedNames(), (QStringList{"Meier", "Adler", "Meierhof"}));
        QVERIFY(f.dialogs.shown.isEmpty());

        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(form.isHidden());
    }

    void searchStepsThroughTheHits() {
        Fixture f;
        TSearchForm form(*f.main);
        QStringList edited;
        f.main->setCommand(QStringLiteral("EditRecord"),
                           [&] { edited.append(f.table().text(QStringLiteral("Name"))); });
        form.show();
        auto* edit = child<QLineEdit>(form, "Edit1");
        auto* ok = child<QPushButton>(form, "OKButton");
        auto* editButton = child<QPushButton>(form, "BearbeitenBitBtn");
        auto* caption = child<QLabel>(form, "ErgLabel");
        QCOMPARE(form.focusWidget(), edit);
        QCOMPARE(ok->text(), QStringLiteral("Suchen"));
        QVERIFY(editButton->isHidden());
        QCOMPARE(caption->text(), QString());

        f.table().last();
        QTest::keyClicks(edit, QStringLiteral("meier"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(caption->text(), QStringLiteral("Suchergebnis:"));
        QCOMPARE(ok->text(), QStringLiteral("Weiter suchen"));
        QCOMPARE(resultLines(form), (QStringList{"ID = 1", "Name = Meier", "Meier"}));
        QVERIFY(!editButton->isHidden());
        click(editButton);
        QCOMPARE(edited, QStringList{"Meier"});

        click(ok);
        QCOMPARE(resultLines(form), (QStringList{"ID = 3", "Name = Meierhof", "Meierhof"}));
        click(ok);
        QCOMPARE(resultLines(form), (QStringList{"Kein weiteres Ergebnis gefunden!", "", ""}));
        QVERIFY(editButton->isHidden());
        click(ok);
        QCOMPARE(resultLines(form), (QStringList{"Kein weiteres Ergebnis gefunden!", "", ""}));
        // F4 opens the editor on the current record also while the button is hidden.
        QTest::keyClick(edit, Qt::Key_F4);
        QCOMPARE(edited, (QStringList{"Meier", "Meierhof"}));

        // A changed term starts again from the first record.
        edit->setText(QStringLiteral("zzz"));
        QCOMPARE(ok->text(), QStringLiteral("Suchen"));
        QCOMPARE(caption->text(), QString());
        QCOMPARE(resultLines(form), (QStringList{"", "", ""}));
        click(ok);
        QCOMPARE(resultLines(form), (QStringList{"Kein Ergebnis gefunden!", "", ""}));
        QVERIFY(editButton->isHidden());
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void searchShownAgainStartsAtTheCurrentRecord() {
        Fixture f;
        TSearchForm form(*f.main);
        form.show();
        auto* edit = child<QLineEdit>(form, "Edit1");
        edit->setText(QStringLiteral("köln"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(resultLines(form).first(), QStringLiteral("ID = 2"));
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(form.isHidden());

        form.show();
        QCOMPARE(edit->text(), QStringLiteral("köln"));
        QCOMPARE(resultLines(form), (QStringList{"", "", ""}));
        QVERIFY(child<QPushButton>(form, "BearbeitenBitBtn")->isHidden());
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(resultLines(form), (QStringList{"ID = 2", "Name = Adler", "Köln"}));
    }
};

QTEST_MAIN(TestFilterSearch)
#include "TestFilterSearch.moc"
