#include "TestSupport.h"
#include "foundations/QuillonError.h"
#include "letters/Salutations.h"

#include <QTest>

using Salutations::Row;

class TestSalutations : public QObject {
    Q_OBJECT
private slots:
    void lookup_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("expected");
        const QStringList herrFirst = {"Herr|Sehr geehrter Herr",
                                       "Herr Dr.|Sehr geehrter Herr Dr."};
        QTest::newRow("key is a prefix") << herrFirst.mid(0, 1) << "Herrn"
                                         << "Sehr geehrter Herr";
        QTest::newRow("case-sensitive") << herrFirst << "herr"
                                        << "herr";
        QTest::newRow("latest matching line wins") << herrFirst << "Herr Dr. Meier"
                                                   << "Sehr geehrter Herr Dr.";
        QTest::newRow("earlier longer key loses")
            << QStringList{herrFirst[1], herrFirst[0]} << "Herr Dr. Meier"
            << "Sehr geehrter Herr";
        QTest::newRow("no match keeps the term") << herrFirst << "Familie"
                                                 << "Familie";
        QTest::newRow("empty term matches nothing") << herrFirst << ""
                                                    << "";
        QTest::newRow("keys and formulas trimmed, runs of | as one")
            << QStringList{"  Frau ||  Sehr geehrte Frau  "} << "Frau Meier"
            << "Sehr geehrte Frau";
        QTest::newRow("empty term row: its formula is a key with an empty formula")
            << QStringList{"|Firma"} << "Firma Müller"
            << "";
        QTest::newRow("only | lines change nothing") << QStringList(8, "|") << "Herr"
                                                     << "Herr";
    }
    void lookup() {
        QFETCH(QStringList, lines);
        QFETCH(QString, term);
        QFETCH(QString, expected);
        TestInstallation installation;
        installation.writeFile(QStringLiteral("Grussformel.txt"), lines);
        QCOMPARE(Salutations::GetGrussformel(installation.programDir(), term), expected);
        Salutations::Lookup cached(installation.programDir());
        QCOMPARE(cached.formulaFor(term), expected);
        QCOMPARE(cached.formulaFor(term), expected);
    }

    void missingFileIsAnError() {
        TestInstallation installation;
        QVERIFY(QFile::remove(installation.programDir() + QStringLiteral("Grussformel.txt")));
        QVERIFY_THROWS_EXCEPTION(QuillonError,
                                 Salutations::GetGrussformel(installation.programDir(), "Herr"));
        QVERIFY_THROWS_EXCEPTION(QuillonError, Salutations::readRows(installation.programDir()));
    }

    void rowsRoundTrip() {
        TestInstallation installation;
        installation.writeFile(QStringLiteral("Grussformel.txt"),
                               {"Herr|Sehr geehrter Herr", "|Nur Formel", " Frau | Liebe Frau "});
        const QList<Row> rows = Salutations::readRows(installation.programDir());
        QCOMPARE(rows.size(), 8);
        QCOMPARE(rows[0].term, QStringLiteral("Herr"));
        QCOMPARE(rows[0].formula, QStringLiteral("Sehr geehrter Herr"));
        // Leading "|" are skipped, so the formula shows as the row's term.
        QCOMPARE(rows[1].term, QStringLiteral("Nur Formel"));
        QCOMPARE(rows[1].formula, QString());
        // Shown as extracted, untrimmed.
        QCOMPARE(rows[2].term, QStringLiteral(" Frau "));
        for (int i = 3; i < 8; ++i)
            QVERIFY(rows[i].term.isEmpty() && rows[i].formula.isEmpty());

        QList<Row> edited = rows;
        edited[1] = {QString(), QStringLiteral("Hallo")};
        edited[7] = {QStringLiteral("  Dr. "), QStringLiteral(" Sehr geehrte Frau Dr. ")};
        Salutations::writeRows(installation.programDir(), edited);
        QCOMPARE(
            installation.readBytes(QStringLiteral("Grussformel.txt")),
            QByteArray("Herr|Sehr geehrter Herr\r\n|Hallo\r\nFrau|Liebe Frau\r\n|\r\n|\r\n|\r\n"
                       "|\r\nDr.|Sehr geehrte Frau Dr.\r\n"));
    }

    void umlautsAreWindows1252() {
        TestInstallation installation;
        Salutations::writeRows(
            installation.programDir(),
            {{QStringLiteral("Frau"), QStringLiteral("Liebe Frau Bürgermeisterin")}});
        const QByteArray bytes = installation.readBytes(QStringLiteral("Grussformel.txt"));
        QVERIFY(bytes.startsWith("Frau|Liebe Frau B\xFCrgermeisterin\r\n"));
        QCOMPARE(Salutations::GetGrussformel(installation.programDir(), "Frau X"),
                 QStringLiteral("Liebe Frau Bürgermeisterin"));
    }
};

QTEST_GUILESS_MAIN(TestSalutations)
#include "TestSalutations.moc"
