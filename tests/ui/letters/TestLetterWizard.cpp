#include "TestSupport.h"
#include "foundations/Table.h"
#include "letters/OdtPackage.h"
#include "records/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Records, besides the answers, which folder and filter each file dialog had and what the
// letters folder held while it was open.
class WizardDialogs : public RecordingDialogs {
public:
    QString lettersDir;
    QStringList filters;
    QStringList folders;
    QStringList listedWhileOpen;
    QString openFileName(const QString& caption, const QString& folder,
                         const QString& filter) override {
        filters.append(filter);
        folders.append(folder);
        listedWhileOpen = QDir(lettersDir).entryList(QDir::Files, QDir::Name);
        return RecordingDialogs::openFileName(caption, folder, filter);
    }
};

struct Step {
    QString window; // object name of the modal window the step acts on
    std::function<void(QWidget*)> action;
};

// Plays the steps on the modal windows as they come up; each action runs from the event
// loop, so a click that opens the next window does not block the player.
class Player {
public:
    explicit Player(QList<Step> steps) : m_steps(std::move(steps)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
        m_clock.start();
    }
    bool done() const { return m_steps.isEmpty(); }
    QStringList seen;

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (m_clock.elapsed() > 10000 && modal) {
            modal->close(); // a stuck script must not hang the test run
            return;
        }
        if (m_steps.isEmpty() || !modal || modal->objectName() != m_steps.first().window ||
            m_pending)
            return;
        Step step = m_steps.takeFirst();
        seen.append(step.window);
        m_pending = true;
        QTimer::singleShot(0, modal, [this, modal, step] {
            m_pending = false;
            step.action(modal);
        });
    }
    QList<Step> m_steps;
    QTimer m_timer;
    QElapsedTimer m_clock;
    bool m_pending = false;
};

std::function<void(QWidget*)> click(const char* button) {
    return [button](QWidget* window) {
        auto* b = window->findChild<QPushButton*>(QString::fromLatin1(button));
        QVERIFY2(b, button);
        b->click();
    };
}

std::function<void(QWidget*)> choose(const char* radio) {
    return [radio](QWidget* window) {
        window->findChild<QRadioButton*>(QString::fromLatin1(radio))->setChecked(true);
        window->findChild<QPushButton*>(QStringLiteral("WeiterBitBtn"))->click();
    };
}

struct Fixture {
    TestInstallation installation;
    WizardDialogs dialogs;
    RecordingShell shell;
    std::unique_ptr<TMainForm> main;

    QString lettersDir = installation.lettersDir();

    Fixture() { dialogs.lettersDir = lettersDir; }
    TMainForm& start() {
        main = std::make_unique<TMainForm>(
            ProductConfig::fromProgramName(QStringLiteral("quillon")),
            Folders::forProgramDir(installation.programDir(), lettersDir), dialogs, shell);
        Table& table = *main->ActiveTable();
        const QList<QStringList> records = {
            {"Herr", "Meier", "Wahr"}, {"Frau", "Adler", "Falsch"}, {"Frau", "Zander", "Wahr"}};
        for (const QStringList& r : records) {
            table.append();
            table.setText(QStringLiteral("Anrede"), r[0]);
            table.setText(QStringLiteral("Name"), r[1]);
            table.setText(QStringLiteral("Selected"), r[2]);
            table.post();
        }
        return *main;
    }
    QString letters(const QString& name) const { return lettersDir + name; }
    QByteArray mergeFile() const {
        return installation.readBytes(QStringLiteral("MyLetters/Serienbrief.txt"));
    }
    // Runs the serial-letter button with the steps; true when every step was played and
    // no wizard window is left open.
    bool run(QList<Step> steps) {
        Player player(std::move(steps));
        main->findChild<QPushButton*>(QStringLiteral("MailBitBtn"))->click();
        return player.done() && !QApplication::activeModalWidget();
    }
};

const QByteArray kTwoMarked =
    "Anrede|Betreff|Name|Vorname|Ansprechpartner|Str|PLZ|Ort|Land|Tel|Fax|Kategorie|\r\n"
    "Sehr geehrter Herr | |Meier | | | | | | | | | |\r\n"
    "Sehr geehrte Frau | |Zander | | | | | | | | | |\r\n";

bool writable(const QString& path) {
    return QFile::permissions(path) & QFile::WriteOwner;
}

} // namespace

class TestLetterWizard : public QObject {
    Q_OBJECT
private slots:
    void templatePaths_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("letter") << "BriefRadioButton"
                                << "Brief-Vorlagen (Brief-Vorlage*)"
                                << "Brief-Vorlage DIN 5008.odt";
        QTest::newRow("labels") << "EtikettenRadioButton"
                                << "Etiketten-Vorlagen (Adress-Etikett*)"
                                << "Adress-Etikett 3x8 70x36.odt";
        QTest::newRow("envelope") << "BriefumschlagRadioButton"
                                  << "Briefumschlag-Vorlagen (Briefumschlag*)"
                                  << "Briefumschlag DL.odt";
    }
    void templatePaths() {
        QFETCH(QString, radio);
        QFETCH(QString, filter);
        QFETCH(QString, chosen);
        Fixture f;
        TMainForm& main = f.start();
        f.dialogs.fileNames = {f.letters(chosen)};
        QString countText;
        const QByteArray radioName = radio.toLatin1();
        QVERIFY(f.run({{"MailquestionsForm",
                        [&](QWidget* page) {
                            countText = page->findChild<QLabel*>("NoOfMailsLabel")->text();
                            click("WeiterBitBtn")(page);
                        }},
                       {"OpenOrNewForm", choose(radioName.constData())},
                       {"VorlageWizzard", click("WeiterBitBtn")}}));
        QCOMPARE(countText, QStringLiteral("Serienbrief wird für 2 markierte Datensätze erzeugt."));
        QCOMPARE(f.dialogs.filters, QStringList{filter});
        QCOMPARE(QDir(f.dialogs.folders.value(0)), QDir(f.installation.lettersDir()));
        // The template itself opens, write-protected, for adapting and saving under a new name.
        QCOMPARE(f.shell.opened, QStringList{f.letters(chosen)});
        QVERIFY(!writable(f.letters(chosen)));
        QCOMPARE(f.mergeFile(), kTwoMarked);
        QVERIFY(f.dialogs.shown.isEmpty());
        QVERIFY(!main.ActiveTable()->filtered());
        QCOMPARE(main.ActiveTable()->recordCount(), 3);
    }

    void choiceFirstThenCancelledTemplatePage() {
        Fixture f;
        f.start();
        f.dialogs.fileNames = {f.letters(QStringLiteral("Brief-Vorlage DIN 5008.odt"))};
        QVERIFY(f.run({{"MailquestionsForm", click("WeiterBitBtn")},
                       // Back to page 1 and on again: nothing is written on the way.
                       {"OpenOrNewForm", click("ZurueckBitBtn")},
                       {"MailquestionsForm",
                        [&](QWidget* page) {
                            QVERIFY(f.mergeFile().isEmpty());
                            click("WeiterBitBtn")(page);
                        }},
                       {"OpenOrNewForm", click("WeiterBitBtn")},
                       {"OpenOrNewForm", choose("EtikettenRadioButton")},
                       {"VorlageWizzard", click("AbbrechenBitBtn")}}));
        QCOMPARE(f.dialogs.texts(), QStringList{"Bitte zuerst eine Auswahl treffen!"});
        QCOMPARE(f.dialogs.shown.first().kind, UserDialogs::Kind::Information);
        // Cancelling page 3 leaves the merge data file written and starts nothing.
        QCOMPARE(f.mergeFile(), kTwoMarked);
        QVERIFY(f.shell.opened.isEmpty());
        QCOMPARE(f.dialogs.fileNames.size(), 1);
    }

    void noChoiceEndsTheWizardHoweverPageTwoIsLeft() {
        Fixture f;
        f.start();
        QVERIFY(f.run({{"MailquestionsForm", click("HilfeBitBtn")},
                       {"MailquestionsForm", click("WeiterBitBtn")},
                       {"OpenOrNewForm", click("WeiterBitBtn")},
                       {"OpenOrNewForm", click("ZurueckBitBtn")}}));
        QCOMPARE(f.dialogs.texts(), QStringList{"Bitte zuerst eine Auswahl treffen!"});
        QCOMPARE(f.shell.opened,
                 QStringList{f.installation.programDir() + QStringLiteral("helpSB/help.html")});
    }

    void ownDocumentIsMergedAndOpened() {
        Fixture f;
        TMainForm& main = f.start();
        const QString own = f.letters(QStringLiteral("Mein Brief.odt"));
        QVERIFY(QFile::copy(f.letters(QStringLiteral("Brief-Vorlage DIN 5008.odt")), own));
        QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner);
        f.dialogs.fileNames = {own};
        QVERIFY(f.run({{"MailquestionsForm", click("WeiterBitBtn")},
                       {"OpenOrNewForm", choose("OeffnenRadioButton")}}));
        QCOMPARE(f.dialogs.filters, QStringList{"Eigene Word Dokumente (*.odt *.doc *.docx)"});
        // While the dialog was open the templates had another extension.
        QCOMPARE(f.dialogs.listedWhileOpen,
                 (QStringList{"Adress-Etikett 3x8 70x36.odt.bak", "Brief-Vorlage DIN 5008.odt.bak",
                              "Briefumschlag DL.odt.bak", "Mein Brief.odt", "Serienbrief.txt",
                              "Vorlagen.ini"}));
        const QString merged = f.letters(QStringLiteral("Mein Brief-Serienbrief.odt"));
        QCOMPARE(f.shell.opened, QStringList{merged});
        const QByteArray content = OdtPackage::read(merged).entry(QStringLiteral("content.xml"));
        QVERIFY(content.contains("Sehr geehrter Herr Meier,"));
        QVERIFY(content.contains("Sehr geehrte Frau Zander,"));
        QVERIFY(!content.contains("Adler"));
        for (const QString& name :
             {"Adress-Etikett 3x8 70x36.odt", "Brief-Vorlage DIN 5008.odt", "Briefumschlag DL.odt"})
            QVERIFY(QFile::exists(f.letters(name)) && !writable(f.letters(name)));
        QVERIFY(f.dialogs.shown.isEmpty());
        QCOMPARE(main.ActiveTable()->recordCount(), 3);
    }

    void ownDocumentFailures_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<bool>("shellWorks");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("word processor does not start")
            << "Alt.doc" << false << "Unable to start Word!"
            << "Alt.doc" << false;
        // The error ends the path; page 2 stays open for another choice.
        QTest::newRow("no merge field opens as it is")
            << "Ohne Felder.odt" << true
            << "Das Dokument „Ohne Felder.odt“ enthält keine Seriendruckfelder. Ein Feld wird im "
               "Dokument als «Feldname» geschrieben, zum Beispiel «Name». Das Dokument wird "
               "unverändert geöffnet."
            << "Ohne Felder.odt" << false;
        QTest::newRow("no valid document")
            << "Kaputt.odt" << true
            << "Das Dokument „%1Kaputt.odt“ ist kein gültiges OpenDocument-Textdokument."
            << "" << true;
    }
    void ownDocumentFailures() {
        QFETCH(QString, document);
        QFETCH(bool, shellWorks);
        QFETCH(QString, message);
        QFETCH(QString, opened);
        QFETCH(bool, staysOpen);
        Fixture f;
        f.start();
        if (document.startsWith(u"Ohne")) {
            OdtPackage package;
            package.setEntry(QStringLiteral("mimetype"), OdtPackage::textMimeType());
            package.setEntry(QStringLiteral("content.xml"),
                             "<office:document-content "
                             "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                             "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
                             "<office:body><office:text><text:p>Nur "
                             "Text</text:p></office:text></office:body></office:document-content>");
            package.write(f.letters(document));
        } else {
            QFile file(f.letters(document));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("kein OpenDocument");
        }
        f.shell.succeed = shellWorks;
        f.dialogs.fileNames = {f.letters(document)};
        QList<Step> steps = {{"MailquestionsForm", click("WeiterBitBtn")},
                             {"OpenOrNewForm", choose("OeffnenRadioButton")}};
        if (staysOpen)
            steps.append({"OpenOrNewForm", click("AbbrechenBitBtn")});
        QVERIFY(f.run(steps));
        QCOMPARE(f.dialogs.texts(), QStringList{message.arg(f.installation.lettersDir())});
        QCOMPARE(f.shell.opened, opened.isEmpty() ? QStringList() : QStringList{f.letters(opened)});
        QCOMPARE(f.mergeFile(), kTwoMarked);
        QVERIFY(!writable(f.letters(QStringLiteral("Brief-Vorlage DIN 5008.odt"))));
        QVERIFY(!QFile::exists(f.letters(QStringLiteral("Brief-Vorlage DIN 5008.odt.bak"))));
    }

    void mergeFileNotWrittenStopsBothPaths_data() {
        QTest::addColumn<QString>("radio");
        QTest::newRow("template") << "BriefRadioButton";
        QTest::newRow("own document") << "OeffnenRadioButton";
    }
    void mergeFileNotWrittenStopsBothPaths() {
        QFETCH(QString, radio);
        Fixture f;
        f.start();
        QVERIFY(QDir().mkpath(f.letters(QStringLiteral("Serienbrief.txt"))));
        const QByteArray radioName = radio.toLatin1();
        QVERIFY(f.run({{"MailquestionsForm", click("WeiterBitBtn")},
                       {"OpenOrNewForm", choose(radioName.constData())}}));
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Neue Serienbrief-Datenbank kann nicht erzeugt werden, da diese "
                             "momentan von Word verwendet wird. Bitte schließen Sie Word und "
                             "starten den Vorgang nochmal!"});
        QVERIFY(f.dialogs.filters.isEmpty());
        QVERIFY(f.shell.opened.isEmpty());
        QVERIFY(QFile::exists(f.letters(QStringLiteral("Brief-Vorlage DIN 5008.odt"))));
    }

    void startUpPreparesTheLettersFolder() {
        Fixture f;
        // A run that ended while the own-documents dialog was open left a template hidden.
        const QString letter = f.letters(QStringLiteral("Brief-Vorlage DIN 5008.odt"));
        QVERIFY(QFile::rename(letter, letter + QStringLiteral(".bak")));
        f.start();
        QVERIFY(QFile::exists(letter) && !writable(letter));
        QVERIFY(!writable(f.letters(QStringLiteral("Briefumschlag DL.odt"))));

        // A missing letters folder comes from the installation.
        Fixture fresh;
        fresh.lettersDir = fresh.installation.programDir() + QStringLiteral("home/MyLetters/");
        fresh.start();
        QVERIFY(!writable(fresh.letters(QStringLiteral("Adress-Etikett 3x8 70x36.odt"))));
        QVERIFY(QFile::exists(fresh.letters(QStringLiteral("Vorlagen.ini"))));

        // Without a catalogue start-up tells so and goes on.
        Fixture bare;
        QFile::remove(bare.letters(QStringLiteral("Vorlagen.ini")));
        bare.start();
        QCOMPARE(bare.dialogs.shown.size(), 1);
        QCOMPARE(bare.dialogs.shown.first().kind, UserDialogs::Kind::Error);
        QVERIFY(bare.main->ActiveTable()->isOpen());
    }

    void salutationWindowRoundTrip() {
        Fixture f;
        TMainForm& main = f.start();
        f.installation.writeFile(QStringLiteral("Grussformel.txt"),
                                 {"Herr|Sehr geehrter Herr", "Frau|Sehr geehrte Frau"});
        QString shownTerm, shownFormula, emptyRow;
        Player player({{"GrussformelForm",
                        [&](QWidget* w) {
                            shownTerm = w->findChild<QLineEdit*>("Edit2")->text();
                            shownFormula = w->findChild<QLineEdit*>("Edit_2")->text();
                            emptyRow = w->findChild<QLineEdit*>("Edit3")->text();
                            w->findChild<QLineEdit*>("Edit_2")->setText(" Liebe Frau ");
                            w->findChild<QLineEdit*>("Edit3")->setText("Dr.");
                            click("OKBitBtn")(w);
                        }},
                       {"GrussformelForm", [&](QWidget* w) {
                            w->findChild<QLineEdit*>("Edit1")->setText("Verworfen");
                            click("AbbrechenBitBtn")(w);
                        }}});
        QAction* menu = main.findChild<QAction*>(QStringLiteral("Grussormel1"));
        QVERIFY(menu->isEnabled());
        menu->trigger();
        menu->trigger();
        QVERIFY(player.done());
        QCOMPARE(shownTerm, QStringLiteral("Frau"));
        QCOMPARE(shownFormula, QStringLiteral("Sehr geehrte Frau"));
        QVERIFY(emptyRow.isEmpty());
        QCOMPARE(f.installation.readBytes(QStringLiteral("Grussformel.txt")),
                 QByteArray("Herr|Sehr geehrter Herr\r\nFrau|Liebe Frau\r\nDr.|\r\n|\r\n|\r\n|\r\n|"
                            "\r\n|\r\n"));
    }

    void salutationWindowWithoutFile() {
        Fixture f;
        TMainForm& main = f.start();
        QFile::remove(f.installation.programDir() + QStringLiteral("Grussformel.txt"));
        Player player({{"GrussformelForm", [&](QWidget* w) {
                            w->findChild<QLineEdit*>("Edit1")->setText("Herr");
                            w->findChild<QLineEdit*>("Edit_1")->setText("Guten Tag Herr");
                            click("OKBitBtn")(w);
                        }}});
        main.findChild<QAction*>(QStringLiteral("Grussormel1"))->trigger();
        QVERIFY(player.done());
        // The error is shown, and "OK" still writes a new file of eight rows.
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().kind, UserDialogs::Kind::Error);
        QCOMPARE(f.installation.readBytes(QStringLiteral("Grussformel.txt")),
                 QByteArray("Herr|Guten Tag Herr\r\n") + QByteArray("|\r\n").repeated(7));
    }
};

QTEST_MAIN(TestLetterWizard)
#include "TestLetterWizard.moc"
