#include "TestSupport.h"
#include "foundations/FileNames.h"
#include "foundations/QuillonError.h"
#include "foundations/TextFile.h"

#include <QFile>
#include <QTest>

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void windows1252RoundTripsEveryByte() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = TextFile::decodeWindows1252(all);
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QCOMPARE(text.at(0xE4), QChar(u'ä'));
        QCOMPARE(text.at(0x84), QChar(0x201E));
        QCOMPARE(TextFile::encodeWindows1252(text), all);
        QCOMPARE(TextFile::encodeWindows1252(u"a\u4E2Db"), QByteArray("a?b"));
        QVERIFY(!TextFile::isWindows1252Encodable(u"\u4E2D"));
    }

    void splitLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("no line end") << "a" << QStringList{"a"};
        QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("LF") << "a\nb" << QStringList{"a", "b"};
        QTest::newRow("CR") << "a\rb\r" << QStringList{"a", "b"};
        QTest::newRow("mixed") << "a\r\nb\nc\rd" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("blank last line") << "a\r\n\r\n" << QStringList{"a", ""};
        QTest::newRow("blank lines inside") << "a\n\nb" << QStringList{"a", "", "b"};
        QTest::newRow("NUL ends the text")
            << QString::fromUtf8("a\nb\0c\nd", 7) << QStringList{"a", "b"};
    }
    void splitLines() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(TextFile::splitLines(text), lines);
    }

    void writeIsWindows1252WithCrLf() {
        TestInstallation installation;
        const QString path = installation.programDir() + QStringLiteral("out.txt");
        TextFile::writeLines(path, {QStringLiteral("Grüße"), QString(), QStringLiteral("€")});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Gr\xFC\xDF"
                                            "e\r\n\r\n\x80\r\n"));
        QCOMPARE(TextFile::readLines(path),
                 (QStringList{QStringLiteral("Grüße"), QString(), QStringLiteral("€")}));
    }

    void failedWriteLeavesTheOldFile() {
        TestInstallation installation;
        const QString path = installation.programDir() + QStringLiteral("keep.txt");
        TextFile::writeLines(path, {QStringLiteral("alt")});
        QFile::setPermissions(installation.programDir(), QFile::ReadOwner | QFile::ExeOwner);
        if (QFile(installation.programDir() + QStringLiteral("probe")).open(QIODevice::WriteOnly))
            QSKIP("running with rights that ignore folder permissions");
        QVERIFY_THROWS_EXCEPTION(QuillonError, TextFile::writeLines(path, {QStringLiteral("neu")}));
        QFile::setPermissions(installation.programDir(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(TextFile::readLines(path), QStringList{QStringLiteral("alt")});
    }

    void missingFileIsAnError() {
        try {
            TextFile::readLines(QStringLiteral("/nonexistent/Buttons.ini"));
            QFAIL("no error");
        } catch (const QuillonError& error) {
            QVERIFY(error.message().contains(QStringLiteral("/nonexistent/Buttons.ini")));
        }
    }

    void namesResolveIgnoringCase() {
        TestInstallation installation;
        const QString data = installation.dataDir();
        QCOMPARE(FileNames::resolve(data + QStringLiteral("DATABASE.PRO")),
                 data + QStringLiteral("database.pro"));
        QCOMPARE(FileNames::resolve(data + QStringLiteral("database.ini")),
                 data + QStringLiteral("Database.ini"));
        QCOMPARE(FileNames::resolve(data + QStringLiteral("missing.ini")),
                 data + QStringLiteral("missing.ini"));
        // An exact match wins over one that differs in case.
        QFile upper(data + QStringLiteral("DATABASE.pro"));
        QVERIFY(upper.open(QIODevice::WriteOnly));
        upper.close();
        QCOMPARE(FileNames::resolve(data + QStringLiteral("DATABASE.pro")),
                 data + QStringLiteral("DATABASE.pro"));
        QCOMPARE(TextFile::readLines(data + QStringLiteral("DATABASE.INI")).size(), 2);
        QVERIFY(FileNames::remove(data + QStringLiteral("DATABASE.INI")));
        QVERIFY(!FileNames::exists(data + QStringLiteral("Database.ini")));
    }

    void plainNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("table name") << "database" << true;
        QTest::newRow("with extension") << "lieferanten.ini" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("parent") << ".." << false;
        QTest::newRow("path") << "../Buttons" << false;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("backslash") << "..\\x" << false;
    }
    void plainNames() {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        QCOMPARE(FileNames::isPlainFileName(name), plain);
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "TestTextFile.moc"
