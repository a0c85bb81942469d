#include "TestSupport.h"
#include "foundations/QuillonError.h"
#include "letters/Templates.h"
#include "letters/WordProcessor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

bool writable(const QString& path) {
    return QFile::permissions(path) & QFile::WriteOwner;
}

QStringList files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

void touch(const QString& path) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

} // namespace

class TestTemplates : public QObject {
    Q_OBJECT
private slots:
    void protectTakesWritePermissionFromCataloguedOnly() {
        TestInstallation installation;
        const QString letters = installation.lettersDir();
        installation.writeFile(QStringLiteral("MyLetters/Vorlagen.ini"),
                               {"  Brief-Vorlage DIN 5008.odt  ", "fehlt.odt", "../Buttons.ini",
                                "BRIEFUMSCHLAG DL.ODT"});
        touch(letters + QStringLiteral("Eigener Brief.odt"));
        Templates::protect(letters);
        QVERIFY(!writable(letters + QStringLiteral("Brief-Vorlage DIN 5008.odt")));
        QVERIFY(!writable(letters + QStringLiteral("Briefumschlag DL.odt"))); // case-blind
        QVERIFY(writable(letters + QStringLiteral("Adress-Etikett 3x8 70x36.odt")));
        QVERIFY(writable(letters + QStringLiteral("Eigener Brief.odt")));
        // A name leading out of the folder is never touched.
        QVERIFY(writable(installation.programDir() + QStringLiteral("Buttons.ini")));
        QVERIFY(!QFileInfo::exists(letters + QStringLiteral("fehlt.odt")));
    }

    void hideAndRestore() {
        TestInstallation installation;
        const QString letters = installation.lettersDir();
        touch(letters + QStringLiteral("Eigener Brief.odt"));
        touch(letters + QStringLiteral("Sicherung.bak"));
        Templates::protect(letters);
        QStringList hiddenFiles;
        {
            Templates::Hidden hidden(letters);
            hiddenFiles = files(letters);
        }
        QCOMPARE(hiddenFiles,
                 (QStringList{"Adress-Etikett 3x8 70x36.odt.bak", "Brief-Vorlage DIN 5008.odt.bak",
                              "Briefumschlag DL.odt.bak", "Eigener Brief.odt", "Sicherung.bak",
                              "Vorlagen.ini"}));
        // Each template gets its own name back, read-only; other files stay as they are.
        QCOMPARE(files(letters),
                 (QStringList{"Adress-Etikett 3x8 70x36.odt", "Brief-Vorlage DIN 5008.odt",
                              "Briefumschlag DL.odt", "Eigener Brief.odt", "Sicherung.bak",
                              "Vorlagen.ini"}));
        for (const QString& name : Templates::catalogue(letters))
            QVERIFY(!writable(letters + name));
        QVERIFY(writable(letters + QStringLiteral("Sicherung.bak")));
    }

    void restoreAfterInterruptedRunNeverOverwrites() {
        TestInstallation installation;
        const QString letters = installation.lettersDir();
        const QString letter = letters + QStringLiteral("Brief-Vorlage DIN 5008.odt");
        const QString envelope = letters + QStringLiteral("Briefumschlag DL.odt");
        QVERIFY(QFile::rename(envelope, envelope + QStringLiteral(".bak")));
        QVERIFY(QFile::copy(letter, letter + QStringLiteral(".bak")));
        Templates::restore(letters);
        QVERIFY(QFileInfo::exists(envelope) && !writable(envelope));
        QVERIFY(!QFileInfo::exists(envelope + QStringLiteral(".bak")));
        // Both names exist: the template in place wins and the hidden copy stays.
        QVERIFY(QFileInfo::exists(letter + QStringLiteral(".bak")));
        QVERIFY(!writable(letter));
    }

    void missingCatalogue() {
        TestInstallation installation;
        const QString letters = installation.lettersDir();
        QVERIFY(QFile::remove(letters + QStringLiteral("Vorlagen.ini")));
        QVERIFY_THROWS_EXCEPTION(QuillonError, Templates::protect(letters));
        QVERIFY_THROWS_EXCEPTION(QuillonError, Templates::Hidden{letters});
        Templates::restore(letters); // quietly nothing to do
        QCOMPARE(files(letters).size(), 3);
    }

    void lettersFolderCreatedFromShippedOne() {
        TestInstallation installation;
        const QString target = installation.programDir() + QStringLiteral("home/MyLetters/");
        QVERIFY(Templates::ensureLettersFolder(target, installation.programDir()));
        QCOMPARE(files(target), files(installation.lettersDir()));
        QFile::remove(target + QStringLiteral("Vorlagen.ini"));
        // An existing folder is left as the user keeps it.
        QVERIFY(Templates::ensureLettersFolder(target, installation.programDir()));
        QVERIFY(!QFileInfo::exists(target + QStringLiteral("Vorlagen.ini")));
    }

    void wordProcessorStart() {
        TestInstallation installation;
        RecordingShell shell;
        QVERIFY(
            WordProcessor::start(shell, installation.programDir(), QStringLiteral("/x/Brief.odt")));
        QCOMPARE(shell.opened, QStringList{"/x/Brief.odt"});

        installation.writeFile(QStringLiteral("Serienbrief.ini"),
                               {"[FIRSTSETTINGS]", "FirstSettingsDone=Done", "[Textverarbeitung]",
                                "Befehl = \"/opt/my writer/bin/write\" --norestore"});
        QCOMPARE(WordProcessor::configuredCommand(installation.programDir()),
                 (QStringList{"/opt/my writer/bin/write", "--norestore"}));
        shell.opened.clear();
        shell.succeed = false;
        QVERIFY(!WordProcessor::start(shell, installation.programDir(),
                                      QStringLiteral("/x/Brief.odt")));
        QCOMPARE(shell.opened, QStringList{"/opt/my writer/bin/write"});
    }
};

QTEST_GUILESS_MAIN(TestTemplates)
#include "TestTemplates.moc"
