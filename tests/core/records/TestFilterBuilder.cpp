#include "TestSupport.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/TextFile.h"
#include "records/FilterBuilder.h"

#include <QTest>

using FilterBuilder::Condition;
Q_DECLARE_METATYPE(Condition)

class TestFilterBuilder : public QObject {
    Q_OBJECT

    TestInstallation m_installation;
    Table m_table;

private slots:
    void init() {
        TableDefinition definition;
        definition.addField(QStringLiteral("ID"), FieldKind::AutoInc, 0, false);
        definition.addField(QStringLiteral("Name"), FieldKind::Text, 60, false);
        definition.addField(QStringLiteral("Ort"), FieldKind::Text, 40, false);
        definition.addIndex(QStringLiteral("ID"), QStringLiteral("ID"), true);
        const QString path = m_installation.dataDir() + QStringLiteral("filter.DB");
        Table::create(path, definition);
        m_table.setTableName(path);
        m_table.open();
        for (const char* name : {"O'Brien", "Obst", "Meier"}) {
            m_table.append();
            m_table.setText(QStringLiteral("Name"), QString::fromUtf8(name));
            m_table.setText(QStringLiteral("Ort"), QStringLiteral("Köln"));
            m_table.post();
        }
    }
    void cleanup() {
        m_table.close();
        m_table.setFilter(QString());
        m_table.setFiltered(false);
    }

    void expression_data() {
        QTest::addColumn<Condition>("first");
        QTest::addColumn<int>("connector");
        QTest::addColumn<Condition>("second");
        QTest::addColumn<QString>("expected");
        const Condition none;
        const Condition ort{QStringLiteral("Ort"), 12, 2, QStringLiteral("Berlin")};
        QTest::newRow("first field compares exactly")
            << Condition{"ID", 0, 1, "5"} << 1 << none << "ID = '5'";
        QTest::newRow("fourth field still exactly")
            << Condition{"LetztesMail", 3, 2, "x"} << 1 << none << "LetztesMail <> 'x'";
        QTest::newRow("fifth field as prefix")
            << Condition{"Mail", 4, 1, "Mei"} << 1 << none << "Mail = 'Mei*'";
        QTest::newRow("empty value, exact") << Condition{"ID", 0, 1, ""} << 1 << none << "ID = ''";
        QTest::newRow("empty value, prefix")
            << Condition{"Name", 7, 1, ""} << 1 << none << "Name = '*'";
        QTest::newRow("no field selected") << Condition{"", -1, 3, "x"} << 1 << none << "< 'x'";
        QTest::newRow("second condition ignored without connector")
            << Condition{"Name", 7, 1, "Mei"} << 1 << ort << "Name = 'Mei*'";
        QTest::newRow("und") << Condition{"Name", 7, 1, "Mei"} << 2 << ort
                             << "Name = 'Mei*' AND Ort <> 'Berlin*'";
        QTest::newRow("oder with < and >")
            << Condition{"ID", 0, 3, "5"} << 3 << Condition{"PLZ", 11, 4, "1"}
            << "ID < '5' OR PLZ > '1*'";
        QTest::newRow("quote inside the value doubled")
            << Condition{"Name", 7, 1, "O'Brien"} << 1 << none << "Name = 'O''Brien*'";
        QTest::newRow("value cut to the part, closing quote lost")
            << Condition{"Name", 7, 1, QString(45, u'x')} << 1 << none
            << QStringLiteral("Name = '") + QString(39, u'x');
    }
    void expression() {
        QFETCH(Condition, first);
        QFETCH(int, connector);
        QFETCH(Condition, second);
        QFETCH(QString, expected);
        QCOMPARE(FilterBuilder::expression(first, connector, second), expected);
    }

    void cyclesReturnToTheStart() {
        QStringList operators;
        int index = 1;
        for (int i = 0; i < 4; ++i, index = FilterBuilder::nextOperator(index))
            operators.append(FilterBuilder::operatorText(index));
        QCOMPARE(operators, (QStringList{"=", "<>", "<", ">"}));
        QCOMPARE(index, 1);
        QStringList connectors;
        index = 1;
        for (int i = 0; i < 3; ++i, index = FilterBuilder::nextConnector(index))
            connectors.append(FilterBuilder::connectorCaption(index) + u'/' +
                              FilterBuilder::connectorWord(index));
        QCOMPARE(connectors, (QStringList{"keine zweite Bedingung/", "und/AND", "oder/OR"}));
        QCOMPARE(index, 1);
    }

    void fieldNamesFollowTheProfile() {
        const QStringList names = FilterBuilder::fieldNames(
            TextFile::readLines(QStringLiteral(QUILLON_SHIPPED_DIR "/Data/database.pro")));
        QCOMPARE(names.size(), 17);
        QCOMPARE(names.first(), QStringLiteral("ID"));
        QCOMPARE(names[FilterBuilder::kFirstPrefixPosition], QStringLiteral("Mail"));
        QCOMPARE(names[FilterBuilder::kDefaultFirstPosition], QStringLiteral("Land"));
        QCOMPARE(names[FilterBuilder::kDefaultSecondPosition], QStringLiteral("Ansprechpartner"));
    }

    void generatedExpressionFindsAQuotedValue() {
        FilterBuilder::switchOn(
            m_table, FilterBuilder::expression({"Name", 7, 1, "o'b"}, 2, {"Ort", 12, 1, "Köln"}));
        QVERIFY(m_table.filtered());
        QCOMPARE(m_table.recordCount(), 1);
        QCOMPARE(m_table.text(QStringLiteral("Name")), QStringLiteral("O'Brien"));
        FilterBuilder::switchOff(m_table);
        QVERIFY(!m_table.filtered());
        QCOMPARE(m_table.filter(), QString());
        QCOMPARE(m_table.recordCount(), 3);
    }

    void refusedExpressionChangesNothing_data() {
        QTest::addColumn<bool>("filteredBefore");
        QTest::newRow("filter on") << true;
        QTest::newRow("filter off") << false;
    }
    void refusedExpressionChangesNothing() {
        QFETCH(bool, filteredBefore);
        m_table.setFilter(QStringLiteral("Name='Mei*'"));
        m_table.setFiltered(filteredBefore);
        const QString tooLong = FilterBuilder::expression({"Name", 7, 1, QString(45, u'x')}, 1, {});
        QVERIFY_THROWS_EXCEPTION(QuillonError, FilterBuilder::switchOn(m_table, tooLong));
        QCOMPARE(m_table.filter(), QStringLiteral("Name='Mei*'"));
        QCOMPARE(m_table.filtered(), filteredBefore);
        QCOMPARE(m_table.recordCount(), filteredBefore ? 1 : 3);
    }
};

QTEST_GUILESS_MAIN(TestFilterBuilder)
#include "TestFilterBuilder.moc"
