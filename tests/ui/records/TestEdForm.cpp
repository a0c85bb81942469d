#include "TEdForm.h"
#include "TMainForm.h"
#include "TestSupport.h"
#include "foundations/Shell.h"
#include "foundations/Table.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// The shipped profile with extra fields for the hiding rule, a boolean with a choice list,
// a number field and a required field.
const QStringList kExtraProfileLines = {
    QStringLiteral("KundenID|ftString|False|10| | | | |Kundennummer"),
    QStringLiteral("Valid|ftString|False|10| | | | | "),
    QStringLiteral("Archive|ftString|False|10| | | | |Archiv"),
    QStringLiteral("Aktiv|ftBoolean|False|0| | | | |Aktiv"),
    QStringLiteral("Anzahl|ftInteger|False|0| | | | |Anzahl"),
    QStringLiteral("Pflicht|ftString|True|20| | | | |Pflichtfeld"),
};

struct Fixture {
    TestInstallation installation;
    RecordingDialogs dialogs;
    RecordingShell shell;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TEdForm> editor;

    explicit Fixture(bool extraFields = false) {
        if (extraFields) {
            QStringList profile =
                QString::fromLatin1(installation.readBytes(QStringLiteral("Data/database.pro")))
                    .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
            profile.append(kExtraProfileLines);
            installation.writeFile(QStringLiteral("Data/database.pro"), profile);
            installation.writeFile(QStringLiteral("Data/database.cb"),
                                   {QStringLiteral("FELDNAME| AUSWAHL (getrennt durch ;)"),
                                    QStringLiteral("Anrede|Herr;Frau"),
                                    QStringLiteral("Anrede|H=Herr;;F = Frau ;Dr=Doktor"),
                                    QStringLiteral("Aktiv|Wahr;Falsch"),
                                    QStringLiteral("Kategorie|Kunde;;Presse")});
        }
        const Folders folders =
            Folders::forProgramDir(installation.programDir(), installation.lettersDir());
        main = std::make_unique<TMainForm>(
            ProductConfig::fromProgramName(QStringLiteral("quillon")), folders, dialogs, shell);
        editor = std::make_unique<TEdForm>(*main);
    }

    Table& table() { return *main->ActiveTable(); }

    void addRecord(const QString& name, const QString& ort) {
        table().append();
        table().setText(QStringLiteral("Name"), name);
        table().setText(QStringLiteral("Ort"), ort);
        if (table().findField(QStringLiteral("Pflicht")) >= 0)
            table().setText(QStringLiteral("Pflicht"), QStringLiteral("x"));
        table().post();
    }

    // Shows the editor and acts on it while it is open; a window the action leaves open
    // is cancelled, so a failed check never hangs the test.
    bool showAndAct(TEdForm::Mode mode, const std::function<void(TEdForm&)>& act) {
        bool reached = false;
        QTimer::singleShot(0, [&] {
            auto* open = qobject_cast<TEdForm*>(QApplication::activeModalWidget());
            if (!open)
                return;
            reached = true;
            act(*open);
            if (open->isVisible()) {
                stillOpenAfterAct = true;
                abortButton(*open)->click();
            }
        });
        stillOpenAfterAct = false;
        editor->ShowMode(mode);
        return reached;
    }
    bool stillOpenAfterAct = false;

    static QPushButton* okButton(TEdForm& form) {
        return form.findChild<QPushButton*>(QStringLiteral("OKSpeedButton"));
    }
    static QPushButton* abortButton(TEdForm& form) {
        return form.findChild<QPushButton*>(QStringLiteral("AbortSpeedButton"));
    }
    template <typename T> static T* control(TEdForm& form, const QString& name) {
        T* found = form.findChild<T*>(name);
        if (!found)
            qWarning("no control %s", qPrintable(name));
        return found;
    }
};

QString countText(TMainForm& form) {
    return form.findChild<QLabel*>(QStringLiteral("StatusPanel"))->text();
}

class RefusingHooks : public TDoUpdatesForm {
public:
    int asked = 0;
    bool ValidateRecord(Table&) override {
        ++asked;
        return false;
    }
};

} // namespace

class TestEdForm : public QObject {
    Q_OBJECT
private slots:
    void controlPerProfileEntry_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("caption");
        QTest::newRow("autoinc key hidden") << "Edit_ID" << 1 << false << "Nr.";
        QTest::newRow("logical") << "Check_Selected" << 2 << true << "Selected";
        QTest::newRow("Invalid shown: the ID test is case-sensitive")
            << "Check_Invalid" << 3 << true << "Ungültig";
        QTest::newRow("choice list") << "Combo_Anrede" << 6 << true << "Anrede";
        QTest::newRow("text") << "Edit_Name" << 8 << true << "Name";
        QTest::newRow("ID inside the name hidden")
            << "Edit_KundenID" << 18 << false << "Kundennummer";
        QTest::newRow("blank display name gives the field name")
            << "Edit_Valid" << 19 << true << "Valid";
        QTest::newRow("Archive hidden ignoring case") << "Edit_Archive" << 20 << false << "Archiv";
        QTest::newRow("logical with choice list") << "Combo_Aktiv" << 21 << true << "Aktiv";
        QTest::newRow("number") << "Edit_Anzahl" << 22 << true << "Anzahl";
    }
    void controlPerProfileEntry() {
        QFETCH(QString, control);
        QFETCH(int, row);
        QFETCH(bool, visible);
        QFETCH(QString, caption);
        Fixture f(true);
        const QString field = control.mid(control.indexOf(u'_') + 1);
        QVERIFY(f.showAndAct(TEdForm::Mode::Edit, [&](TEdForm& form) {
            auto* input = Fixture::control<QWidget>(form, control);
            auto* label = Fixture::control<QLabel>(form, QStringLiteral("Label_") + field);
            QVERIFY(input && label);
            // The input column starts at 120, or further right when a caption needs more room.
            QCOMPARE(input->y(), (row - 1) * 20);
            QCOMPARE(input->size(), QSize(250, 20));
            QVERIFY(input->x() >= 120);
            QCOMPARE(input->x(), Fixture::control<QWidget>(form, QStringLiteral("Edit_Name"))->x());
            QCOMPARE(label->pos(), QPoint(20, (row - 1) * 20 + 2));
            QCOMPARE(label->text(), caption);
            QCOMPARE(!input->isHidden(), visible);
            QCOMPARE(!label->isHidden(), visible);
            auto* scrollBox = form.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
            QVERIFY(scrollBox->widget()->isAncestorOf(input));
            // One control per entry, no more: 23 profile entries.
            QCOMPARE(scrollBox->widget()->findChildren<QLabel*>().size(), 23);
        }));
        // The controls live for one showing only.
        QVERIFY(!f.editor->findChild<QWidget*>(control));
    }

    void choiceListsOfferTheirKeys() {
        Fixture f(true);
        QVERIFY(f.showAndAct(TEdForm::Mode::Edit, [&](TEdForm& form) {
            auto items = [&](const QString& name) {
                QStringList result;
                if (auto* combo = Fixture::control<QComboBox>(form, name))
                    for (int i = 0; i < combo->count(); ++i)
                        result.append(combo->itemText(i));
                return result;
            };
            // The last line for a field counts; key=text offers the keys; no empty items.
            QCOMPARE(items(QStringLiteral("Combo_Anrede")), (QStringList{"H", "F", "Dr"}));
            QCOMPARE(items(QStringLiteral("Combo_Kategorie")), (QStringList{"Kunde", "Presse"}));
            QCOMPARE(items(QStringLiteral("Combo_Aktiv")), (QStringList{"Wahr", "Falsch"}));
            auto* combo = Fixture::control<QComboBox>(form, QStringLiteral("Combo_Anrede"));
            QVERIFY(combo->isEditable());
            QCOMPARE(combo->maxVisibleItems(), 40);
        }));
    }

    void newRecordIsSavedAndMarked() {
        Fixture f(true);
        f.addRecord(QStringLiteral("Adler"), QStringLiteral("Bonn"));
        QVERIFY(f.showAndAct(TEdForm::Mode::New, [&](TEdForm& form) {
            QCOMPARE(form.findChild<QLabel*>(QStringLiteral("ESLabel1"))->text(),
                     QStringLiteral("Neueingabe"));
            QCOMPARE(Fixture::okButton(form)->text(), QStringLiteral("Speichern (F2)"));
            QCOMPARE(f.table().state(), Table::State::Insert);
            QVERIFY(
                Fixture::control<QCheckBox>(form, QStringLiteral("Check_Selected"))->isChecked());
            QVERIFY(
                !Fixture::control<QCheckBox>(form, QStringLiteral("Check_Invalid"))->isChecked());
            Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Name"))
                ->setText(QStringLiteral("Meier"));
            Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Anzahl"))
                ->setText(QStringLiteral("12"));
            Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Pflicht"))
                ->setText(QStringLiteral("x"));
            // Free text besides the offered choices.
            Fixture::control<QComboBox>(form, QStringLiteral("Combo_Anrede"))
                ->setEditText(QStringLiteral("Frau Dr."));
            QTest::keyClick(Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Ort")),
                            Qt::Key_F2);
        }));
        QVERIFY(!f.stillOpenAfterAct);
        QVERIFY(f.dialogs.shown.isEmpty());
        Table& t = f.table();
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(t.text(QStringLiteral("Name")), QStringLiteral("Meier"));
        QCOMPARE(t.text(QStringLiteral("Selected")), QStringLiteral("Wahr"));
        QCOMPARE(t.text(QStringLiteral("Invalid")), QStringLiteral("Falsch"));
        QCOMPARE(t.text(QStringLiteral("Aktiv")), QString());
        QCOMPARE(t.text(QStringLiteral("Anrede")), QStringLiteral("Frau Dr."));
        QCOMPARE(t.text(QStringLiteral("Anzahl")), QStringLiteral("12"));
        QCOMPARE(countText(*f.main), QStringLiteral("2 Datensätze"));
    }

    void editChangesTheCurrentRecord() {
        Fixture f;
        f.addRecord(QStringLiteral("Adler"), QStringLiteral("Bonn"));
        f.addRecord(QStringLiteral("Meier"), QStringLiteral("Köln"));
        f.table().first();
        QVERIFY(f.showAndAct(TEdForm::Mode::Edit, [&](TEdForm& form) {
            QCOMPARE(form.findChild<QLabel*>(QStringLiteral("ESLabel1"))->text(),
                     QStringLiteral("Bearbeiten"));
            auto* ort = Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Ort"));
            QCOMPARE(ort->text(), QStringLiteral("Bonn"));
            QTest::keyClicks(ort, QStringLiteral("-Beuel"));
            Fixture::control<QCheckBox>(form, QStringLiteral("Check_Selected"))->click();
            Fixture::okButton(form)->click();
        }));
        QVERIFY(!f.stillOpenAfterAct);
        Table& t = f.table();
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(t.text(QStringLiteral("Name")), QStringLiteral("Adler"));
        QCOMPARE(t.text(QStringLiteral("Ort")), QStringLiteral("Bonn-Beuel"));
        QCOMPARE(t.text(QStringLiteral("Selected")), QStringLiteral("Wahr"));
        QCOMPARE(t.recordCount(), 2);

        // Saving without a change writes nothing and closes.
        QVERIFY(f.showAndAct(TEdForm::Mode::Edit, [&](TEdForm& form) {
            Fixture::okButton(form)->click();
            QCOMPARE(f.table().state(), Table::State::Browse);
        }));
        QVERIFY(!f.stillOpenAfterAct);
    }

    void escapeDiscards_data() {
        QTest::addColumn<bool>("newMode");
        QTest::newRow("new: the appended record disappears") << true;
        QTest::newRow("edit: the former values stay") << false;
    }
    void escapeDiscards() {
        QFETCH(bool, newMode);
        Fixture f;
        f.addRecord(QStringLiteral("Adler"), QStringLiteral("Bonn"));
        QVERIFY(
            f.showAndAct(newMode ? TEdForm::Mode::New : TEdForm::Mode::Edit, [&](TEdForm& form) {
                auto* name = Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Name"));
                name->setText(QStringLiteral("Zander"));
                QTest::keyClick(name, Qt::Key_Escape);
            }));
        QVERIFY(!f.stillOpenAfterAct);
        Table& t = f.table();
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(t.recordCount(), 1);
        t.first();
        QCOMPARE(t.text(QStringLiteral("Name")), QStringLiteral("Adler"));
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes deletes") << true;
        QTest::newRow("no keeps the record and still closes") << false;
    }
    void deleteAsksFirst() {
        QFETCH(bool, yes);
        Fixture f;
        f.addRecord(QStringLiteral("Adler"), QStringLiteral("Bonn"));
        f.addRecord(QStringLiteral("Meier"), QStringLiteral("Köln"));
        f.table().first();
        f.dialogs.answers = {yes ? UserDialogs::Answer::Yes : UserDialogs::Answer::No};
        QVERIFY(f.showAndAct(TEdForm::Mode::Delete, [&](TEdForm& form) {
            auto* title = form.findChild<QLabel*>(QStringLiteral("ESLabel1"));
            QCOMPARE(title->text(), QStringLiteral("Löschen"));
            QCOMPARE(title->palette().color(QPalette::WindowText), QColor(Qt::red));
            QCOMPARE(Fixture::okButton(form)->text(), QStringLiteral("Löschen (F2)"));
            QCOMPARE(Fixture::okButton(form)->palette().color(QPalette::ButtonText),
                     QColor(Qt::red));
            QCOMPARE(Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Name"))->text(),
                     QStringLiteral("Adler"));
            Fixture::okButton(form)->click();
        }));
        QVERIFY(!f.stillOpenAfterAct);
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Datensatz wirklich löschen?")});
        QCOMPARE(f.dialogs.shown.first().kind, UserDialogs::Kind::Information);
        Table& t = f.table();
        QCOMPARE(t.recordCount(), yes ? 1 : 2);
        t.first();
        QCOMPARE(t.text(QStringLiteral("Name")),
                 yes ? QStringLiteral("Meier") : QStringLiteral("Adler"));
        if (yes)
            QCOMPARE(countText(*f.main), QStringLiteral("1 Datensätze"));
    }

    void refusedPostKeepsTheWindowOpen_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("fillRequired");
        QTest::addColumn<QString>("fieldInMessage");
        QTest::newRow("value too long") << "Edit_Name" << QString(61, u'x') << true << "Name";
        QTest::newRow("text in a number field") << "Edit_Anzahl"
                                                << "zwölf" << true << "Anzahl";
        QTest::newRow("required field empty") << "Edit_Vorname"
                                              << "Eva" << false << "Pflicht";
        QTest::newRow("text in a logical field with choices") << "Combo_Aktiv"
                                                              << "Vielleicht" << true << "Aktiv";
    }
    void refusedPostKeepsTheWindowOpen() {
        QFETCH(QString, control);
        QFETCH(QString, value);
        QFETCH(bool, fillRequired);
        QFETCH(QString, fieldInMessage);
        Fixture f(true);
        QVERIFY(f.showAndAct(TEdForm::Mode::New, [&](TEdForm& form) {
            if (fillRequired)
                Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Pflicht"))
                    ->setText(QStringLiteral("x"));
            QWidget* input = Fixture::control<QWidget>(form, control);
            if (auto* combo = qobject_cast<QComboBox*>(input))
                combo->setEditText(value);
            else
                static_cast<QLineEdit*>(input)->setText(value);
            // Both ways of saving keep the window open.
            Fixture::okButton(form)->click();
            QVERIFY(form.isVisible());
            QTest::keyClick(input, Qt::Key_F2);
            QVERIFY(form.isVisible());
            QVERIFY(!form.CloseAllowed());
            QCOMPARE(f.table().state(), Table::State::Insert);
            QCOMPARE(f.dialogs.shown.size(), 2);
            QCOMPARE(f.dialogs.shown.first().kind, UserDialogs::Kind::Error);
            QVERIFY2(f.dialogs.shown.first().text.contains(fieldInMessage),
                     qPrintable(f.dialogs.shown.first().text));
            Fixture::abortButton(form)->click();
        }));
        QVERIFY(!f.stillOpenAfterAct);
        QCOMPARE(f.table().state(), Table::State::Browse);
        QCOMPARE(f.table().recordCount(), 0);
    }

    void correctedValueSavesAfterARefusal() {
        Fixture f(true);
        QVERIFY(f.showAndAct(TEdForm::Mode::New, [&](TEdForm& form) {
            auto* name = Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Name"));
            name->setText(QString(61, u'x'));
            Fixture::okButton(form)->click();
            QVERIFY(form.isVisible());
            name->setText(QStringLiteral("Meier"));
            Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Pflicht"))
                ->setText(QStringLiteral("x"));
            Fixture::okButton(form)->click();
        }));
        QVERIFY(!f.stillOpenAfterAct);
        QCOMPARE(f.table().recordCount(), 1);
        QCOMPARE(f.table().text(QStringLiteral("Name")), QStringLiteral("Meier"));
    }

    void refusingValidationPostsNothing() {
        Fixture f;
        RefusingHooks hooks;
        f.editor->setUpdateHooks(hooks);
        QVERIFY(f.showAndAct(TEdForm::Mode::New, [&](TEdForm& form) {
            Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Name"))
                ->setText(QStringLiteral("Meier"));
            Fixture::okButton(form)->click();
            QVERIFY(form.isVisible());
            QCOMPARE(hooks.asked, 1);
        }));
        QVERIFY(f.stillOpenAfterAct);
        QCOMPARE(f.table().recordCount(), 0);
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void keysMoveTheFocus() {
        Fixture f;
        QVERIFY(f.showAndAct(TEdForm::Mode::New, [&](TEdForm& form) {
            QApplication::setActiveWindow(&form);
            auto* name = Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Name"));
            auto* vorname = Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Vorname"));
            auto* anrede = Fixture::control<QComboBox>(form, QStringLiteral("Combo_Anrede"));
            name->setFocus();
            QTest::keyClick(name, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), vorname);
            QTest::keyClick(vorname, Qt::Key_PageUp);
            QCOMPARE(QApplication::focusWidget(), name);
            QTest::keyClick(name, Qt::Key_PageDown);
            QCOMPARE(QApplication::focusWidget(), vorname);
            // Inside a combo box the keys move on as well instead of changing the choice.
            anrede->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
            QCOMPARE(anrede->currentText(), QString());
            QCOMPARE(QApplication::focusWidget(),
                     Fixture::control<QLineEdit>(form, QStringLiteral("Edit_Mail")));
        }));
    }

    void helpOpensTheHelpPage() {
        Fixture f;
        QVERIFY(f.showAndAct(TEdForm::Mode::Edit, [&](TEdForm& form) {
            form.findChild<QPushButton*>(QStringLiteral("HilfeBitBtn"))->click();
            QVERIFY(form.isVisible());
        }));
        QCOMPARE(f.shell.opened,
                 QStringList{f.installation.programDir() + QStringLiteral("helpSB/help.html")});
    }
};

QTEST_MAIN(TestEdForm)
#include "TestEdForm.moc"
