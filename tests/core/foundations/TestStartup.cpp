#include "TestSupport.h"
#include "foundations/ProductConfig.h"
#include "foundations/StartupChecks.h"
#include "foundations/StoreLock.h"
#include "foundations/SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void editionFromProgramName_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("title");
        QTest::newRow("serial-letter edition") << "/opt/Quillon/quillon"
                                               << "SB"
                                               << "Quillon Serienbrief";
        QTest::newRow("database edition") << "/opt/Quillon/quillon_db"
                                          << "DB"
                                          << "Quillon Datenbank";
        QTest::newRow("link with underscore") << "./Quillon_DB"
                                              << "DB"
                                              << "Quillon Datenbank";
        QTest::newRow("underscore in folder only") << "/opt/my_apps/quillon"
                                                   << "SB"
                                                   << "Quillon Serienbrief";
    }
    void editionFromProgramName() {
        QFETCH(QString, program);
        QFETCH(QString, code);
        QFETCH(QString, title);
        const ProductConfig config = ProductConfig::fromProgramName(program);
        QCOMPARE(config.editionCode, code);
        QCOMPARE(config.productTitle, title);
        QVERIFY(QFileInfo::exists(QStringLiteral(QUILLON_SHIPPED_DIR "/vovovSB/") +
                                  config.headerPicture));
        QVERIFY(QFileInfo::exists(QStringLiteral(QUILLON_SHIPPED_DIR "/vovovSB/") +
                                  config.wizardPicture));
        for (const QString& page :
             {config.helpPage, config.accessHelpPage, config.textImportHelpPage,
              config.excelHelpPage, config.databasesHelpPage})
            QVERIFY2(QFileInfo::exists(QStringLiteral(QUILLON_SHIPPED_DIR "/helpSB/") + page),
                     qPrintable(page));
    }

    void folders() {
        const Folders folders =
            Folders::forProgramDir(QStringLiteral("/opt/q"), QStringLiteral("/home/u/MyLetters"));
        QCOMPARE(folders.programDir, QStringLiteral("/opt/q/"));
        QCOMPARE(folders.dataDir, QStringLiteral("/opt/q/Data/"));
        QCOMPARE(folders.imagesDir, QStringLiteral("/opt/q/Images/"));
        QCOMPARE(folders.helpDir, QStringLiteral("/opt/q/helpSB/"));
        QCOMPARE(folders.pictureDir, QStringLiteral("/opt/q/vovovSB/"));
        QCOMPARE(folders.lettersDir, QStringLiteral("/home/u/MyLetters/"));
        QVERIFY(Folders::defaultLettersDir().endsWith(QStringLiteral("/MyLetters/")));
        const SystemInfo info = SystemInfo::read();
        QVERIFY(!info.tempDir().isEmpty());
        QVERIFY(!info.shellFolder(QStringLiteral("Personal")).isEmpty());
        QVERIFY(info.addressBookFile().endsWith(QStringLiteral(".vcf")));
    }

    void staleLockFilesAreRemoved() {
        TestInstallation installation;
        for (const QString& name : StartupChecks::lockFileNames())
            installation.writeFile(QStringLiteral("Data/") + name, {});
        QVERIFY(!StartupChecks::databasesInUse(installation.dataDir()));
        for (const QString& name : StartupChecks::lockFileNames())
            QVERIFY(!QFileInfo::exists(installation.dataDir() + name));
    }

    void lockHeldByAnotherProgramMeansInUse() {
        TestInstallation installation;
        const QString lock = installation.dataDir() + StoreLock::lockFileName();
        // Another process holds the lock as a running program's store does.
        QProcess holder;
        holder.start(QStringLiteral("sh"),
                     {QStringLiteral("-c"),
                      QStringLiteral("exec 9>\"$0\"; flock -s 9; exec sleep 30"), lock});
        if (!holder.waitForStarted())
            QSKIP("flock(1) is not available");
        QTRY_VERIFY(QFileInfo::exists(lock) && StoreLock::isHeld(lock));
        QVERIFY(StartupChecks::databasesInUse(installation.dataDir()));
        QVERIFY(QFileInfo::exists(lock));
        holder.kill();
        holder.waitForFinished();
        QVERIFY(!StartupChecks::databasesInUse(installation.dataDir()));
        QCOMPARE(StartupChecks::inUseMessage(),
                 QStringLiteral(
                     "Datenbank ist in Benutzung durch einen andern Benutzer!\n\nBitte "
                     "warten Sie bis der andere Benutzer die Datenbank wieder geschlossen hat!"));
    }

    void settingsFileCheck() {
        TestInstallation installation;
        RecordingDialogs dialogs;
        StartupChecks::checkSettingsFile(installation.programDir(), dialogs);
        QVERIFY(dialogs.shown.isEmpty());

        installation.writeFile(QStringLiteral("Serienbrief.ini"), {QStringLiteral("[OTHER]")});
        StartupChecks::checkSettingsFile(installation.programDir(), dialogs);
        QCOMPARE(dialogs.shown.size(), 2);

        QFile::remove(installation.programDir() + QStringLiteral("Serienbrief.ini"));
        dialogs.shown.clear();
        StartupChecks::checkSettingsFile(installation.programDir(), dialogs);
        QCOMPARE(dialogs.texts(),
                 QStringList{QStringLiteral("Inifile ") + installation.programDir() +
                             QStringLiteral("Serienbrief.ini not found!")});
        QCOMPARE(dialogs.shown.first().kind, UserDialogs::Kind::Error);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "TestStartup.moc"
