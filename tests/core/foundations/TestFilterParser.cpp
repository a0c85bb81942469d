#include "foundations/FilterParser.h"
#include "foundations/QuillonError.h"

#include <QTest>

namespace {

QList<FieldDef> fields() {
    return {{QStringLiteral("ID"), FieldKind::AutoInc, 0, false},
            {QStringLiteral("Selected"), FieldKind::Logical, 0, false},
            {QStringLiteral("Name"), FieldKind::Text, 40, false},
            {QStringLiteral("Datum"), FieldKind::Date, 0, false}};
}

QString render(const CompiledFilter& filter) {
    QStringList binds;
    for (const QVariant& value : filter.binds)
        binds.append(value.toString());
    return filter.sql + QStringLiteral(" | ") + binds.join(u',');
}

} // namespace

// The stored tables are exercised in TestTable; here the translation itself is pinned,
// above all that values are bound and never become part of the SQL text.
class TestFilterParser : public QObject {
    Q_OBJECT
private slots:
    void compiles_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("compiled");
        QTest::newRow("empty") << "  "
                               << " | ";
        QTest::newRow("logical") << "Selected='True'"
                                 << "ifnull(\"Selected\",0) = ? | 1";
        QTest::newRow("quote inside literal") << "Name = 'O''Neil'"
                                              << "ifnull(\"Name\",'') = ? COLLATE NOCASE | O'Neil";
        QTest::newRow("injection stays a value")
            << "Name = 'x'' OR 1=1 --'"
            << "ifnull(\"Name\",'') = ? COLLATE NOCASE | x' OR 1=1 --";
        QTest::newRow("prefix escapes LIKE characters")
            << "name = '50%_*'"
            << "ifnull(\"Name\",'') LIKE ? ESCAPE '\\' | 50\\%\\_%";
        QTest::newRow("star inside is literal") << "Name = 'a*b'"
                                                << "ifnull(\"Name\",'') = ? COLLATE NOCASE | a*b";
        QTest::newRow("literal first is mirrored") << "'5' < ID"
                                                   << "\"ID\" > ? | 5";
        QTest::newRow("not equal number keeps empty") << "ID <> 3"
                                                      << "(\"ID\" IS NULL OR \"ID\" <> ?) | 3";
        QTest::newRow("date literal") << "Datum >= '1.2.2024'"
                                      << "\"Datum\" >= ? | 2024-02-01";
        QTest::newRow("empty date") << "Datum = ''"
                                    << "\"Datum\" IS NULL | ";
        QTest::newRow("precedence and parentheses")
            << "NOT (ID = 1 or ID = 2) and Name <> ''"
            << "((NOT (\"ID\" = ? OR \"ID\" = ?)) AND ifnull(\"Name\",'') <> ? COLLATE NOCASE) | "
               "1,2,";
        QTest::newRow("bracketed name") << "[Name] IS NOT NULL"
                                        << "ifnull(\"Name\",'') <> '' | ";
    }
    void compiles() {
        QFETCH(QString, expression);
        QFETCH(QString, compiled);
        QCOMPARE(render(FilterParser::compile(expression, fields())), compiled);
    }

    void refuses_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("where");
        QTest::newRow("unknown field") << "Nachname = 'x'"
                                       << "(Zeichen 1)";
        QTest::newRow("open quote") << "Name = 'x"
                                    << "(Zeichen 8)";
        QTest::newRow("missing value") << "Name ="
                                       << "(Zeichen 7)";
        QTest::newRow("missing operator") << "Name 'x'"
                                          << "(Zeichen 6)";
        QTest::newRow("dangling AND") << "Name = 'x' AND"
                                      << "(Zeichen 15)";
        QTest::newRow("unbalanced") << "(Name = 'x'"
                                    << "(Zeichen 12)";
        QTest::newRow("trailing text") << "Name = 'x' y"
                                       << "(Zeichen 12)";
        QTest::newRow("number expected") << "ID = 'zwei'"
                                         << "(Zeichen 6)";
        QTest::newRow("bad logical") << "Selected = 'vielleicht'"
                                     << "(Zeichen 12)";
        QTest::newRow("two literals") << "'a' = 'b'"
                                      << "(Zeichen 1)";
        QTest::newRow("stray character") << "Name = 'x' ; drop"
                                         << "(Zeichen 12)";
    }
    void refuses() {
        QFETCH(QString, expression);
        QFETCH(QString, where);
        try {
            FilterParser::compile(expression, fields());
            QFAIL("accepted");
        } catch (const QuillonError& error) {
            QVERIFY2(error.message().contains(where), qPrintable(error.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestFilterParser)
#include "TestFilterParser.moc"
