#include "TestSupport.h"
#include "foundations/Table.h"
#include "records/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// A main window on the shipped address database, and the status texts it showed.
struct Fixture {
    TestInstallation installation;
    RecordingDialogs dialogs;
    RecordingShell shell;
    std::unique_ptr<TMainForm> main;
    QStringList statusTexts;

    Fixture() {
        const Folders folders =
            Folders::forProgramDir(installation.programDir(), installation.lettersDir());
        main = std::make_unique<TMainForm>(
            ProductConfig::fromProgramName(QStringLiteral("quillon")), folders, dialogs, shell);
        QObject::connect(main->statusBar(), &QStatusBar::messageChanged,
                         [this](const QString& text) { statusTexts.append(text); });
    }
    Table& table() { return *main->ActiveTable(); }
    QString file(const QByteArray& bytes, const QString& name = QStringLiteral("in.csv")) {
        QFile out(installation.programDir() + name);
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        return out.fileName();
    }
    // Runs the import command; the steps act on the wizard and then on the import window.
    void runImport(const std::function<void(QWidget*)>& inWizard,
                   const std::function<void(QWidget*)>& inImportForm = {}) {
        whenShown(QStringLiteral("WizardImportForm"), [=](QWidget* wizard) {
            if (inImportForm)
                whenShown(QStringLiteral("ImportForm"), [=](QWidget* form) {
                    inImportForm(form);
                    // Whatever the steps did, the window ends closed.
                    if (form->isVisible())
                        click(form, "AbbrechenBitBtn");
                });
            inWizard(wizard);
            if (wizard->isVisible())
                click(wizard, "AbortBitBtn");
        });
        main->findChild<QAction*>(QStringLiteral("DatenstzeImportieren1"))->trigger();
    }
    // Acts on the modal window of that name as soon as it is up.
    static void whenShown(const QString& name, const std::function<void(QWidget*)>& act,
                          int tries = 200) {
        QTimer::singleShot(tries == 200 ? 0 : 5, [=] {
            QWidget* window = QApplication::activeModalWidget();
            if (window && window->objectName() == name && window->isVisible())
                return act(window);
            if (tries > 0)
                return whenShown(name, act, tries - 1);
            QFAIL(qPrintable(QStringLiteral("%1 never showed").arg(name)));
        });
    }
    static void click(QWidget* window, const char* button) {
        window->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    }
    static void chooseDatabase(QWidget* wizard) {
        wizard->findChild<QRadioButton*>(QStringLiteral("OtherRadioButton"))->setChecked(true);
        click(wizard, "WeiterBitBtn");
    }
    static QLineEdit* edit(QWidget* form, const QString& field) {
        return form->findChild<QLineEdit*>(QStringLiteral("Edit_") + field);
    }
};

} // namespace

class TestImportForms : public QObject {
    Q_OBJECT
private slots:
    // Weiter needs a choice; the address book says it is not there yet.
    void wizardChoices() {
        Fixture f;
        f.runImport([](QWidget* wizard) {
            Fixture::click(wizard, "WeiterBitBtn");
            QVERIFY(wizard->isVisible());
        });
        QCOMPARE(f.dialogs.texts(), QStringList{"Bitte zuerst eine Auswahl treffen!"});
        f.runImport([](QWidget* wizard) {
            wizard->findChild<QRadioButton*>(QStringLiteral("OutlookRadioButton"))
                ->setChecked(true);
            Fixture::click(wizard, "WeiterBitBtn");
        });
        QCOMPARE(f.dialogs.shown.size(), 2);
        QVERIFY(f.dialogs.shown[1].text.contains(QStringLiteral("noch nicht verfügbar")));
        // The choice stays for the next showing.
        f.runImport([](QWidget* wizard) {
            QVERIFY(wizard->findChild<QRadioButton*>(QStringLiteral("OutlookRadioButton"))
                        ->isChecked());
        });
    }

    // One entry per profile line from the fifth on, 20 pixels apart, all "0"; typed columns
    // and the delimiter drive the import; progress shows in the status bar and is cleared.
    void mappingEntriesDriveTheImport() {
        Fixture f;
        f.dialogs.fileNames = {f.file("Meier,Köln\r\n\r\n\"Adler\",\"Dresden\",x\r\n")};
        f.runImport(Fixture::chooseDatabase, [](QWidget* form) {
            const QList<QLineEdit*> edits =
                form->findChildren<QLineEdit*>(QRegularExpression(QStringLiteral("^Edit_")));
            QCOMPARE(edits.size(), 13);
            QLineEdit* mail = Fixture::edit(form, QStringLiteral("Mail"));
            QCOMPARE(mail->text(), QStringLiteral("0"));
            QCOMPARE(mail->geometry().top(), 10);
            QCOMPARE(Fixture::edit(form, QStringLiteral("Anrede"))->geometry().top(), 30);
            auto* label = form->findChild<QLabel*>(QStringLiteral("Label_Str"));
            QCOMPARE(label->text(), QStringLiteral("\"Straße\" ist in Spalte"));
            QCOMPARE(label->geometry().top(), 20 * 11 - 88);
            QVERIFY(label->geometry().right() < Fixture::edit(form, "Str")->geometry().left());
            Fixture::edit(form, QStringLiteral("Name"))->setText(QStringLiteral("1"));
            Fixture::edit(form, QStringLiteral("Ort"))->setText(QStringLiteral("2"));
            form->findChild<QLineEdit*>(QStringLiteral("DelimiterEdit"))
                ->setText(QStringLiteral(","));
            Fixture::click(form, "ImportBitBtn");
            QVERIFY(!form->isVisible());
        });
        QCOMPARE(f.table().recordCount(), 2);
        f.table().first();
        QCOMPARE(f.table().text(QStringLiteral("Name")), QStringLiteral("Meier"));
        QCOMPARE(f.table().text(QStringLiteral("Selected")), QStringLiteral("Wahr"));
        f.table().last();
        QCOMPARE(f.table().text(QStringLiteral("Ort")), QStringLiteral("Dresden"));
        QCOMPARE(f.statusTexts, (QStringList{"Import: 0 von 3", "Import: 2 von 3", ""}));
        QCOMPARE(f.main->findChild<QLabel*>(QStringLiteral("StatusPanel"))->text(),
                 QStringLiteral("2 Datensätze"));

        // Shown again: every entry back at "0", the delimiter kept; cancelling the file
        // dialog closes the window too.
        f.runImport(Fixture::chooseDatabase, [](QWidget* form) {
            QCOMPARE(Fixture::edit(form, QStringLiteral("Name"))->text(), QStringLiteral("0"));
            QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("DelimiterEdit"))->text(),
                     QStringLiteral(","));
            Fixture::click(form, "ImportBitBtn");
            QVERIFY(!form->isVisible());
        });
        QCOMPARE(f.table().recordCount(), 2);
    }

    // An error is shown and the window stays open with the entries as typed.
    void errorKeepsTheWindowOpen() {
        Fixture f;
        f.dialogs.fileNames = {f.file("a;12345678901\nb;1\n")};
        f.runImport(Fixture::chooseDatabase, [&f](QWidget* form) {
            Fixture::edit(form, QStringLiteral("PLZ"))->setText(QStringLiteral("2"));
            Fixture::click(form, "ImportBitBtn");
            QVERIFY(form->isVisible());
            QCOMPARE(Fixture::edit(form, QStringLiteral("PLZ"))->text(), QStringLiteral("2"));
            QCOMPARE(f.dialogs.shown.size(), 1);
            QCOMPARE(f.dialogs.shown[0].kind, UserDialogs::Kind::Error);
            QVERIFY(f.dialogs.shown[0].text.contains(QStringLiteral("Zeile 1")));
        });
        QCOMPARE(f.table().recordCount(), 0);
        QCOMPARE(f.main->statusText(), QString());
    }

    void tableFilesGoToTheTableImport() {
        Fixture f;
        f.dialogs.fileNames = {f.installation.programDir() + QStringLiteral("alt.Dbf")};
        f.runImport(Fixture::chooseDatabase, [](QWidget* form) {
            Fixture::click(form, "ImportBitBtn");
            QVERIFY(!form->isVisible());
        });
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(f.dialogs.shown[0].text.contains(QStringLiteral("dBase")));
        QCOMPARE(f.table().recordCount(), 0);
    }

    void helpLinks() {
        Fixture f;
        f.runImport(Fixture::chooseDatabase, [&f](QWidget* form) {
            for (const char* name : {"Label13", "Label16", "Label17", "Label18"}) {
                auto* link = form->findChild<QLabel*>(QString::fromLatin1(name));
                const QString href = link->text().section(u'"', 1, 1); // the page the link names
                emit link->linkActivated(href);
            }
            Fixture::click(form, "HilfeBitBtn");
            f.shell.succeed = false;
            Fixture::click(form, "HilfeBitBtn");
        });
        const QString help = f.main->folders().helpDir;
        QCOMPARE(f.shell.opened,
                 (QStringList{help + "excel.html", help + "access.html", help + "datenbanken.html",
                              help + "textimport.html", help + "help.html", help + "help.html"}));
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown[0].kind, UserDialogs::Kind::Notice);
    }
};

QTEST_MAIN(TestImportForms)
#include "TestImportForms.moc"
