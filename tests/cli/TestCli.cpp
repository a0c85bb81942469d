#include "TestSupport.h"
#include "foundations/StoreLock.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run runCli(const TestInstallation& installation, const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(QUILLON_BIN_DIR "/quillon-cli"),
                  QStringList{QStringLiteral("--home"), installation.programDir(),
                              QStringLiteral("--letters"), installation.lettersDir()} +
                      args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void addCountList() {
        TestInstallation installation;
        Run run = runCli(installation, {QStringLiteral("count")});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QStringLiteral("0\n"));
        QVERIFY(QFileInfo::exists(installation.dataDir() + QStringLiteral("database.DB")));

        run = runCli(installation, {"add", "Name=Müller", "Ort=Köln", "Selected=Wahr"});
        QCOMPARE(run.out, QStringLiteral("1\n"));
        run = runCli(installation, {"add", "Name=Adler", "PLZ=01067", "Ort=Dresden"});
        QCOMPARE(run.out, QStringLiteral("2\n"));

        run = runCli(installation, {"count", "--filter", "Selected='True'"});
        QCOMPARE(run.out, QStringLiteral("1\n"));
        run = runCli(installation, {"count", "--filter", "ort = 'KÖLN'"});
        QCOMPARE(run.out, QStringLiteral("0\n")); // only a to z ignore case
        run = runCli(installation, {"list", "--fields", "ID,Name,Selected,PLZ"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QStringLiteral("1|Müller|Wahr|\n2|Adler||01067\n"));
        run = runCli(installation, {"list", "--filter", "Name='Adl*'"});
        QCOMPARE(run.out.count(u'|'), 16);
        QVERIFY(run.out.startsWith(QStringLiteral("2|||||||Adler|")));
        // The store's lock is gone once the tool has ended.
        QVERIFY(!QFileInfo::exists(installation.dataDir() + StoreLock::lockFileName()));
    }

    void errorsAndUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("filter the store cannot read")
            << QStringList{"count", "--filter", "Name = 'x"} << 1 << "Filterausdruck";
        QTest::newRow("value too long") << QStringList{"add", "PLZ=12345678901"} << 1 << "„PLZ“";
        QTest::newRow("logical not of its kind")
            << QStringList{"add", "Selected=vielleicht"} << 1 << "„Selected“";
        QTest::newRow("unknown field") << QStringList{"add", "Telefon=1"} << 1 << "„Telefon“";
        QTest::newRow("unknown list field")
            << QStringList{"list", "--fields", "Nix"} << 1 << "„Nix“";
        QTest::newRow("table list outside the data folder")
            << QStringList{"--db", "../Buttons.ini", "count"} << 1 << "Ungültiger Dateiname";
        QTest::newRow("no command") << QStringList{} << 2 << "Aufruf:";
        QTest::newRow("unknown command") << QStringList{"zaehlen"} << 2 << "unbekannter Befehl";
        QTest::newRow("assignment without =") << QStringList{"add", "Name"} << 2 << "FELD=WERT";
        QTest::newRow("option without value")
            << QStringList{"count", "--filter"} << 2 << "--filter";
        QTest::newRow("extra argument") << QStringList{"count", "x"} << 2 << "„x“";
    }
    void errorsAndUsage() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        TestInstallation installation;
        runCli(installation, {"add", "Name=Meier"});
        const Run run = runCli(installation, args);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(runCli(installation, {"count"}).out, QStringLiteral("1\n"));
    }

    void tableNameOutsideTheDataFolderIsRefused() {
        TestInstallation installation;
        installation.writeFile(
            QStringLiteral("Data/evil.ini"),
            {QStringLiteral("TABLE        TABELNAME"), QStringLiteral("Table1      |../evil")});
        installation.writeFile(
            QStringLiteral("evil.pro"),
            {QStringLiteral("h"), QStringLiteral("ID|ftAutoInc|False|0|ID|ID|x")});
        const Run run = runCli(installation, {"--db", "evil.ini", "count"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QStringLiteral("../evil")), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(installation.programDir() + QStringLiteral("evil.DB")));
        QVERIFY(!QFileInfo::exists(installation.programDir() + QStringLiteral("evil.log")));
    }

    void refusesWhileAnotherProgramHoldsTheDatabases() {
        TestInstallation installation;
        QProcess holder;
        const QString lock = installation.dataDir() + StoreLock::lockFileName();
        holder.start(QStringLiteral("sh"),
                     {"-c", "exec 9>\"$0\"; flock -s 9; exec sleep 30", lock});
        QVERIFY(holder.waitForStarted());
        QTRY_VERIFY(StoreLock::isHeld(lock));
        const Run run = runCli(installation, {"count"});
        holder.kill();
        holder.waitForFinished();
        QCOMPARE(run.status, 3);
        QVERIFY(run.err.startsWith(
            QStringLiteral("Datenbank ist in Benutzung durch einen andern Benutzer!")));
        QVERIFY(!QFileInfo::exists(installation.dataDir() + QStringLiteral("database.DB")));
    }

    void staleLockFileDoesNotStopTheTool() {
        TestInstallation installation;
        installation.writeFile(QStringLiteral("Data/Paradox.lck"), {});
        QCOMPARE(runCli(installation, {"count"}).status, 0);
        QVERIFY(!QFileInfo::exists(installation.dataDir() + QStringLiteral("Paradox.lck")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
