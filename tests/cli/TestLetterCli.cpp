#include "TestSupport.h"
#include "letters/OdtPackage.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

class TestLetterCli : public QObject {
    Q_OBJECT
private slots:
    void mergeAndLetter() {
        TestInstallation installation;
        for (const QStringList& add :
             {QStringList{"add", "Anrede=Frau", "Name=Özdemir", "Selected=Wahr"},
              QStringList{"add", "Name=Ohne", "Selected=Falsch"}})
            QCOMPARE(runCli(installation, add).status, 0);
        CliRun run = runCli(installation, {QStringLiteral("merge")});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QStringLiteral("1 Datensatz geschrieben\n"));
        QCOMPARE(
            installation.readBytes(QStringLiteral("MyLetters/Serienbrief.txt")).split('\n').at(1),
            QByteArray("Sehr geehrte Frau | |\xD6zdemir | | | | | | | | | |\r"));

        const QString envelope = installation.lettersDir() + QStringLiteral("Briefumschlag DL.odt");
        run = runCli(installation, {QStringLiteral("letter"), envelope});
        QCOMPARE(run.status, 0);
        const QString merged =
            installation.lettersDir() + QStringLiteral("Briefumschlag DL-Serienbrief.odt");
        QCOMPARE(run.out, merged + u'\n');
        QVERIFY(OdtPackage::read(merged).entry(QStringLiteral("content.xml")).contains("Özdemir"));

        const QString out = installation.programDir() + QStringLiteral("umschlag.odt");
        run = runCli(installation,
                     {QStringLiteral("letter"), envelope, QStringLiteral("--out"), out});
        QCOMPARE(run.out, out + u'\n');
        QVERIFY(QFileInfo::exists(out));
    }

    void letterErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("no document") << QStringList{"letter"} << 2 << "genau ein DOKUMENT";
        QTest::newRow("missing document")
            << QStringList{"letter", "/nirgends/x.odt"} << 1 << "gibt es nicht";
        QTest::newRow("other format")
            << QStringList{"letter", "@Buttons.ini"} << 1 << "Nur OpenDocument-Textdokumente";
        QTest::newRow("not OpenDocument") << QStringList{"letter", "@MyLetters/Vorlagen.odt"} << 1
                                          << "kein gültiges OpenDocument-Textdokument";
        QTest::newRow("merge takes no argument")
            << QStringList{"merge", "x"} << 2 << "unerwartetes";
    }
    void letterErrors() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        TestInstallation installation;
        QFile::copy(installation.lettersDir() + QStringLiteral("Vorlagen.ini"),
                    installation.lettersDir() + QStringLiteral("Vorlagen.odt"));
        for (QString& arg : args)
            if (arg.startsWith(u'@'))
                arg = installation.programDir() + arg.mid(1);
        const CliRun run = runCli(installation, args);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLetterCli)
#include "TestLetterCli.moc"
