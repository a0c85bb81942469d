#include "TestSupport.h"
#include "foundations/QuillonError.h"
#include "foundations/TextHelpers.h"

#include <QTest>

class TestTextHelpers : public QObject {
    Q_OBJECT
private slots:
    void extractWord_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiters");
        QTest::addColumn<QString>("word");
        QTest::newRow("word 1 of empty") << 1 << ""
                                         << "|"
                                         << "";
        QTest::newRow("word 0 never found") << 0 << "a"
                                            << "|"
                                            << "";
        QTest::newRow("runs of delimiters count once") << 2 << "||a||b||"
                                                       << "|"
                                                       << "b";
        QTest::newRow("leading delimiter skipped") << 1 << "|a"
                                                   << "|"
                                                   << "a";
        QTest::newRow("empty column disappears") << 2 << "a||b"
                                                 << "|"
                                                 << "b";
        QTest::newRow("blank value is a word") << 2 << "a| |b"
                                               << "|"
                                               << " ";
        QTest::newRow("word after blank") << 3 << "a| |b"
                                          << "|"
                                          << "b";
        QTest::newRow("past the last word") << 3 << "a|b"
                                            << "|"
                                            << "";
        QTest::newRow("cut at first dot") << 1 << "Database.ini"
                                          << "."
                                          << "Database";
        QTest::newRow("dot in folder cuts path") << 1 << "/home/u/.local/x.DB"
                                                 << "."
                                                 << "/home/u/";
        QTest::newRow("several delimiters 1") << 1 << "a;b|c"
                                              << "|;"
                                              << "a";
        QTest::newRow("several delimiters 2") << 2 << "a;b|c"
                                              << "|;"
                                              << "b";
        QTest::newRow("several delimiters 3") << 3 << "a;b|c"
                                              << "|;"
                                              << "c";
        QTest::newRow("umlauts stay") << 2 << "Ärzte|Öl"
                                      << "|"
                                      << "Öl";
    }
    void extractWord() {
        QFETCH(int, n);
        QFETCH(QString, text);
        QFETCH(QString, delimiters);
        QFETCH(QString, word);
        QCOMPARE(ExtractWord(n, text, delimiters), word);
    }

    void findWordPosition() {
        int position = 0;
        QVERIFY(FindWord(2, QStringLiteral("||a||b||"), QStringLiteral("|"), &position));
        QCOMPARE(position, 6);
        QVERIFY(!FindWord(3, QStringLiteral("||a||b||"), QStringLiteral("|"), &position));
    }

    void countWords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiters");
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << ""
                               << "|" << 0;
        QTest::newRow("only delimiters") << "|||"
                                         << "|" << 0;
        QTest::newRow("runs") << "||a||b||"
                              << "|" << 2;
        QTest::newRow("choices") << "Herr;Frau;;Firma"
                                 << ";" << 3;
        QTest::newRow("blank counts") << "a| |b"
                                      << "|" << 3;
    }
    void countWords() {
        QFETCH(QString, text);
        QFETCH(QString, delimiters);
        QFETCH(int, count);
        QCOMPARE(CountWords(text, delimiters), count);
    }

    void padRight_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fill");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("result");
        QTest::newRow("never cut") << "abc"
                                   << " " << 2 << "abc";
        QTest::newRow("filled") << "ab"
                                << "-" << 5 << "ab---";
        QTest::newRow("exact length") << "abc"
                                      << "x" << 3 << "abc";
        QTest::newRow("umlaut is one character") << "ä"
                                                 << "." << 3 << "ä..";
    }
    void padRight() {
        QFETCH(QString, text);
        QFETCH(QString, fill);
        QFETCH(int, length);
        QFETCH(QString, result);
        QCOMPARE(PadRight(text, fill.at(0), length), result);
    }

    void paths_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("bare name") << "run"
                                   << "";
        QTest::newRow("root keeps its separator") << "/run"
                                                  << "/";
        QTest::newRow("nested") << "/opt/Quillon/quillon"
                                << "/opt/Quillon";
        QTest::newRow("dots in folders") << "/home/u/.local/q/quillon"
                                         << "/home/u/.local/q";
        QTest::newRow("trailing separator") << "/opt/q/"
                                            << "/opt/q";
    }
    void paths() {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(FolderOfPath(path), folder);
    }

    void trailingSeparator_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty stays empty") << ""
                                           << "";
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("appended") << "abc"
                                  << "abc/";
        QTest::newRow("short folder appended") << "ab"
                                               << "ab/";
        QTest::newRow("already there") << "/opt/q/"
                                       << "/opt/q/";
    }
    void trailingSeparator() {
        QFETCH(QString, folder);
        QFETCH(QString, result);
        QCOMPARE(WithTrailingSeparator(folder), result);
    }

    void foldDatabaseName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folded");
        QTest::newRow("ampersand and umlauts") << "Müller & Söhne"
                                               << "mueller_a_soehne";
        QTest::newRow("leading digit") << "2. Liste"
                                       << "x__liste";
        QTest::newRow("parentheses") << "Kunden (alt)"
                                     << "kunden_xaltx";
        QTest::newRow("capital umlaut") << "Ärzte"
                                        << "aerzte";
        QTest::newRow("one digit") << "7"
                                   << "x";
        QTest::newRow("sharp s") << "Straße"
                                 << "strasse";
        QTest::newRow("blanks kept as underscores") << " a "
                                                    << "_a_";
        QTest::newRow("separators become x") << "a/b\\c:d*e<f>g"
                                             << "axbxcxdxexfxg";
        QTest::newRow("punctuation") << "a'b-c!d$e%f=g\"h§i?j,k´l`m"
                                     << "a_b_c_d_e_f_g_h_i_j_k_l_m";
        QTest::newRow("other characters pass") << "a_b#c+d;é"
                                               << "a_b#c+d;é";
        QTest::newRow("digits after first stay") << "a2b"
                                                 << "a2b";
    }
    void foldDatabaseName() {
        QFETCH(QString, name);
        QFETCH(QString, folded);
        QCOMPARE(FoldDatabaseName(name), folded);
    }

    void conventions() {
        QCOMPARE(Trim(QStringLiteral("\t a b \r\n")), QStringLiteral("a b"));
        QCOMPARE(Trim(QString(QChar(1)) + u'x' + QChar(31)), QStringLiteral("x"));
        QCOMPARE(AsciiUpper(QStringLiteral("äbc")), QStringLiteral("äBC"));
        QCOMPARE(AsciiLower(QStringLiteral("ÄBC")), QStringLiteral("Äbc"));
        QVERIFY(SameTextIgnoringCase(QStringLiteral("Name"), QStringLiteral("NAME")));
        QVERIFY(!SameTextIgnoringCase(QStringLiteral("ä"), QStringLiteral("Ä")));
        QVERIFY(ContainsText(QStringLiteral("Meier"), QStringLiteral("eie")));
        QVERIFY(!ContainsText(QStringLiteral("Meier"), QStringLiteral("EIE")));
        QVERIFY(!ContainsText(QStringLiteral("Meier"), QString()));
        QCOMPARE(Column(QStringLiteral("Feld|ftString|False|20||Feld"), 5), QStringLiteral("Feld"));
    }

    void checkIniEntry_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("messages");
        const QString block = QStringLiteral("Block FIRSTSETTINGS not found in ");
        const QString item = QStringLiteral("Item FirstSettingsDone not found in ");
        QTest::newRow("present") << QStringList{"[FIRSTSETTINGS]", "FirstSettingsDone=Done"}
                                 << QStringList{};
        QTest::newRow("key under a later section")
            << QStringList{"[FIRSTSETTINGS]", "[OTHER]", " FirstSettingsDone = x"} << QStringList{};
        QTest::newRow("section inside a line")
            << QStringList{"x[FIRSTSETTINGS]y", "FirstSettingsDone="} << QStringList{};
        QTest::newRow("key before the section")
            << QStringList{"FirstSettingsDone=Done", "[FIRSTSETTINGS]"} << QStringList{item};
        QTest::newRow("key in other case")
            << QStringList{"[FIRSTSETTINGS]", "firstsettingsdone=1"} << QStringList{item};
        QTest::newRow("section missing")
            << QStringList{"[OTHER]", "FirstSettingsDone=1"} << QStringList{block, item};
        QTest::newRow("empty file") << QStringList{} << QStringList{block, item};
    }
    void checkIniEntry() {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, messages);
        TestInstallation installation;
        installation.writeFile(QStringLiteral("Test.ini"), lines);
        const QString file = installation.programDir() + QStringLiteral("Test.ini");
        RecordingDialogs dialogs;
        CheckIniEntry(file, QStringLiteral("FIRSTSETTINGS"), QStringLiteral("FirstSettingsDone"),
                      dialogs);
        QStringList expected;
        for (const QString& message : messages)
            expected.append(message + file);
        QCOMPARE(dialogs.texts(), expected);
        for (const auto& shown : dialogs.shown)
            QCOMPARE(shown.kind, UserDialogs::Kind::Error);
    }

    void checkIniEntryUnreadableFileGoesToCaller() {
        RecordingDialogs dialogs;
        QVERIFY_THROWS_EXCEPTION(QuillonError,
                                 CheckIniEntry(QStringLiteral("/nonexistent/x.ini"),
                                               QStringLiteral("A"), QStringLiteral("B"), dialogs));
        QVERIFY(dialogs.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "TestTextHelpers.moc"
