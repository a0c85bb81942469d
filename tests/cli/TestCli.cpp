#include "TestSupport.h"
#include "definitions/GridLayout.h"
#include "foundations/StoreLock.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void addCountList() {
        TestInstallation installation;
        CliRun run = runCli(installation, {QStringLiteral("count")});
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
        const CliRun run = runCli(installation, args);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(runCli(installation, {"count"}).out, QStringLiteral("1\n"));
    }

    void bulkCommands_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("marked");
        QTest::addColumn<int>("left");
        QTest::newRow("mark-all") << QStringList{"mark-all"} << 0 << "2 Datensätze markiert\n"
                                  << "1,2,3,4" << 4;
        QTest::newRow("mark-all with a filter")
            << QStringList{"mark-all", "--filter", "Ort='köln'"} << 0 << "1 Datensatz markiert\n"
            << "1,3,4" << 4;
        QTest::newRow("mark-all under a filter the marking changes")
            << QStringList{"mark-all", "--filter", "Selected='False'"} << 0
            << "2 Datensätze markiert\n"
            << "1,2,3,4" << 4;
        QTest::newRow("unmark-all") << QStringList{"unmark-all"} << 0 << "2 Datensätze unmarkiert\n"
                                    << "" << 4;
        QTest::newRow("mark-range")
            << QStringList{"mark-range", "2", "3"} << 0 << "2 Datensätze markiert\n"
            << "1,2,3,4" << 4;
        QTest::newRow("mark-range start above end")
            << QStringList{"mark-range", "3", "2"} << 0 << "0 Datensätze markiert\n"
            << "1,4" << 4;
        QTest::newRow("mark-range trims")
            << QStringList{"mark-range", " 2 ", "2"} << 0 << "1 Datensatz markiert\n"
            << "1,2,4" << 4;
        QTest::newRow("mark-text ignores the case of a to z")
            << QStringList{"mark-text", "köln"} << 0 << "1 Datensatz markiert\n"
            << "1,3,4" << 4;
        QTest::newRow("mark-text umlaut in another case")
            << QStringList{"mark-text", "KÖLN"} << 0 << "0 Datensätze markiert\n"
            << "1,4" << 4;
        QTest::newRow("delete-marked")
            << QStringList{"delete-marked"} << 0 << "2 Datensätze gelöscht\n"
            << "" << 2;
        QTest::newRow("empty") << QStringList{"empty"} << 0
                               << "Datenbank geleert: 4 Datensätze gelöscht\n"
                               << "" << 0;
        QTest::newRow("mark-range not a number")
            << QStringList{"mark-range", "abc", "3"} << 1 << "„abc“ ist keine gültige ganze Zahl"
            << "1,4" << 4;
        QTest::newRow("mark-range above 32 bits")
            << QStringList{"mark-range", "1", "2147483648"} << 1 << "„2147483648“"
            << "1,4" << 4;
        QTest::newRow("mark-range without end")
            << QStringList{"mark-range", "1"} << 2 << "VON und BIS"
            << "1,4" << 4;
        QTest::newRow("mark-text empty")
            << QStringList{"mark-text", ""} << 1 << "Der Text zum Markieren ist leer."
            << "1,4" << 4;
        QTest::newRow("mark-all with a filter the store refuses")
            << QStringList{"mark-all", "--filter", "Name='x"} << 1 << "Filterausdruck"
            << "1,4" << 4;
        QTest::newRow("unmark-all with an argument") << QStringList{"unmark-all", "x"} << 2 << "„x“"
                                                     << "1,4" << 4;
    }
    void bulkCommands() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(QString, marked);
        QFETCH(int, left);
        TestInstallation installation;
        runCli(installation, {"add", "Name=Müller", "Ort=Köln", "Selected=Wahr"});
        runCli(installation, {"add", "Name=Adler", "Ort=Dresden"});
        runCli(installation, {"add", "Name=Meier", "Ort=köln", "Selected=Falsch"});
        runCli(installation, {"add", "Name=Schmidt", "Ort=Berlin", "Selected=Wahr"});
        const CliRun run = runCli(installation, args);
        QCOMPARE(run.status, status);
        if (status == 0)
            QCOMPARE(run.out, message);
        else
            QVERIFY2(run.err.contains(message), qPrintable(run.err));
        const CliRun list =
            runCli(installation, {"list", "--filter", "Selected='True'", "--fields", "ID"});
        QCOMPARE(list.out.split(u'\n', Qt::SkipEmptyParts).join(u','), marked);
        QCOMPARE(runCli(installation, {"count"}).out, QString::number(left) + u'\n');
    }

    void emptyKeepsTheGridLayout() {
        TestInstallation installation;
        runCli(installation, {"add", "Name=Meier"});
        const QString layout = installation.dataDir() + QStringLiteral("Database.grd");
        const QList<GridColumn> columns = {
            {"Name", 120, "Nachname", true}, {"Ort", 80, "Ort", true}, {"ID", 40, "Nr.", false}};
        GridLayout::write(layout, columns);
        QCOMPARE(runCli(installation, {"empty"}).status, 0);
        QList<GridColumn> read;
        QVERIFY(GridLayout::read(layout, &read));
        QCOMPARE(read, columns);
        QCOMPARE(runCli(installation, {"list", "--fields", "ID,Name"}).out, QString());
    }

    void tableNameOutsideTheDataFolderIsRefused() {
        TestInstallation installation;
        installation.writeFile(
            QStringLiteral("Data/evil.ini"),
            {QStringLiteral("TABLE        TABELNAME"), QStringLiteral("Table1      |../evil")});
        installation.writeFile(
            QStringLiteral("evil.pro"),
            {QStringLiteral("h"), QStringLiteral("ID|ftAutoInc|False|0|ID|ID|x")});
        const CliRun run = runCli(installation, {"--db", "evil.ini", "count"});
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
        const CliRun run = runCli(installation, {"count"});
        holder.kill();
        holder.waitForFinished();
        QCOMPARE(run.status, 3);
        QVERIFY(run.err.startsWith(
            QStringLiteral("Datenbank ist in Benutzung durch einen andern Benutzer!")));
        QVERIFY(!QFileInfo::exists(installation.dataDir() + QStringLiteral("database.DB")));
    }

    void importThenExport() {
        TestInstallation installation;
        installation.writeFile(QStringLiteral("in.csv"),
                               {"Müller,Köln,x", "", "\"Adler\",Dresden", "Zu,Lang,12345678901"});
        const QString in = installation.programDir() + QStringLiteral("in.csv");
        CliRun run =
            runCli(installation, {"import", in, "--map", "Name=1,Ort=2", "--delimiter", ","});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QStringLiteral("3 Datensätze importiert\n"));
        run = runCli(installation, {"import", in, "--map", "PLZ=3", "--delimiter", ","});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Zeile 4")) &&
                     run.err.contains(QStringLiteral("„PLZ“")),
                 qPrintable(run.err));
        QCOMPARE(runCli(installation, {"count"}).out, QStringLiteral("5\n"));
        run = runCli(installation, {"import", installation.programDir() + "alt.DBF"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.contains(QStringLiteral("noch nicht verfügbar")));

        runCli(installation, {"add", "Name=Ohne"});
        const QString out = installation.programDir() + QStringLiteral("out.csv");
        run = runCli(installation, {"export-csv", out, "--fields", "Ort,Name", "--marked", "--trim",
                                    "--no-header", "--delimiter", " | "});
        QCOMPARE(run.out, QStringLiteral("5 Datensätze exportiert\n"));
        QCOMPARE(installation.readBytes(QStringLiteral("out.csv")),
                 QByteArray("M\xFCller | K\xF6ln | \r\nAdler | Dresden | \r\nZu | Lang | \r\n | "
                            " | \r\n |  | \r\n"));
        run = runCli(installation, {"export-csv", out, "--fields", "Name"});
        QCOMPARE(run.out, QStringLiteral("6 Datensätze exportiert\n"));
        QVERIFY(installation.readBytes(QStringLiteral("out.csv"))
                    .startsWith("Name" + QByteArray(66, ' ') + ";\r\n"));
        QCOMPARE(runCli(installation, {"export-csv"}).status, 2);
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
