#include "TestSupport.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "records/RecordSearch.h"

#include <QTest>

namespace {

QString shown(const RecordSearch::Result& result) {
    return QStringList{result.line1, result.line2, result.line3}.join(u'|');
}

} // namespace

class TestRecordSearch : public QObject {
    Q_OBJECT

    TestInstallation m_installation;
    Table m_table;

    void add(const QString& name, const QString& ort, const QString& selected,
             const QString& umsatz = {}) {
        m_table.append();
        m_table.setText(QStringLiteral("Name"), name);
        m_table.setText(QStringLiteral("Ort"), ort);
        m_table.setText(QStringLiteral("Selected"), selected);
        m_table.setText(QStringLiteral("Umsatz"), umsatz);
        m_table.post();
    }

    // Runs the steps and checks that every hit leaves the table on the record it shows.
    QStringList run(RecordSearch& search, int steps) {
        QStringList results;
        for (int i = 0; i < steps; ++i) {
            const RecordSearch::Result result = search.step(m_table);
            if (result.hit) {
                if (result.line1 != QStringLiteral("ID = ") + m_table.text(QStringLiteral("ID")) ||
                    result.bookmark != m_table.bookmark() || m_table.eof())
                    results.append(QStringLiteral("table not on the hit"));
            } else if (result.line2 != QString() || !m_table.eof()) {
                results.append(QStringLiteral("table not at its end"));
            }
            results.append(shown(result));
        }
        return results;
    }

private slots:
    void init() {
        TableDefinition definition;
        definition.addField(QStringLiteral("ID"), FieldKind::AutoInc, 0, false);
        definition.addField(QStringLiteral("Selected"), FieldKind::Logical, 0, false);
        definition.addField(QStringLiteral("Name"), FieldKind::Text, 20, false);
        definition.addField(QStringLiteral("Ort"), FieldKind::Text, 20, false);
        definition.addField(QStringLiteral("Umsatz"), FieldKind::Currency, 0, false);
        definition.addIndex(QStringLiteral("ID"), QStringLiteral("ID"), true);
        definition.addIndex(QStringLiteral("Name"), QStringLiteral("Name"), false);
        const QString path = m_installation.dataDir() + QStringLiteral("suche.DB");
        Table::create(path, definition);
        m_table.setTableName(path);
        m_table.open();
        add(QStringLiteral("Meier"), QStringLiteral("Berlin"), QStringLiteral("Falsch"));
        add(QStringLiteral("Adler"), QStringLiteral("Köln"), QStringLiteral("Falsch"));
        add(QStringLiteral("Müller"), QStringLiteral("Bonn"), QStringLiteral("Wahr"));
        add(QStringLiteral("Meister"), QStringLiteral("Köln"), QStringLiteral("Falsch"));
        add(QStringLiteral("Schmidt"), QStringLiteral("Ulm"), QStringLiteral("Falsch"),
            QStringLiteral("1234,5"));
    }
    void cleanup() {
        m_table.close();
        m_table.setFilter(QString());
        m_table.setFiltered(false);
        m_table.setIndexName(QString());
    }

    void steps_data() {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QStringList>("results");
        const QString none = QStringLiteral("Kein Ergebnis gefunden!||");
        const QString noFurther = QStringLiteral("Kein weiteres Ergebnis gefunden!||");
        QTest::newRow("two hits, then no further ones")
            << "köln"
            << ""
            << ""
            << QStringList{"ID = 2|Name = Adler|Köln", "ID = 4|Name = Meister|Köln", noFurther,
                           noFurther};
        QTest::newRow("nothing found") << "Zürich"
                                       << ""
                                       << "" << QStringList{none, none};
        QTest::newRow("empty term finds nothing") << ""
                                                  << ""
                                                  << "" << QStringList{none};
        QTest::newRow("a is in the logical text")
            << "a"
            << ""
            << "" << QStringList{"ID = 1|Name = Meier|Falsch"};
        QTest::newRow("number as text")
            << "4,5"
            << ""
            << "" << QStringList{"ID = 5|Name = Schmidt|1234,50", noFurther};
        QTest::newRow("umlaut in another case") << "MÜLLER"
                                                << ""
                                                << "" << QStringList{none};
        QTest::newRow("a to z in another case")
            << "müLLER"
            << ""
            << "" << QStringList{"ID = 3|Name = Müller|Müller", noFurther};
        QTest::newRow("only records passing the filter")
            << "ei"
            << "Ort='Köln'"
            << "" << QStringList{"ID = 4|Name = Meister|Meister", noFurther};
        QTest::newRow("in the current order")
            << "er"
            << ""
            << "Name"
            << QStringList{"ID = 2|Name = Adler|Adler", "ID = 1|Name = Meier|Meier",
                           "ID = 4|Name = Meister|Meister", "ID = 3|Name = Müller|Müller",
                           noFurther};
        QTest::newRow("hit on the last record, then the end")
            << "Ulm"
            << ""
            << "" << QStringList{"ID = 5|Name = Schmidt|Ulm", noFurther, noFurther};
    }
    void steps() {
        QFETCH(QString, term);
        QFETCH(QString, filter);
        QFETCH(QString, index);
        QFETCH(QStringList, results);
        m_table.setIndexName(index);
        if (!filter.isEmpty()) {
            m_table.setFilter(filter);
            m_table.setFiltered(true);
        }
        RecordSearch search;
        search.setTerm(term, &m_table);
        QCOMPARE(run(search, results.size()), results);
    }

    // Hits beyond the records looked at one by one come from the pass over the table.
    void farHitsInEitherOrder_data() {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("primary order") << "" << QStringList{"Zeta", "Alpha", ""};
        QTest::newRow("by name") << "Name" << QStringList{"Alpha", "Zeta", ""};
    }
    void farHitsInEitherOrder() {
        QFETCH(QString, index);
        QFETCH(QStringList, names);
        m_table.execute(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
            "INSERT INTO records (Name, Ort, Selected) SELECT CASE i WHEN 300 THEN 'Zeta' WHEN "
            "2900 THEN 'Alpha' ELSE 'Nr' || i END, CASE WHEN i IN (300, 2900) THEN 'Zielort' "
            "ELSE 'Bonn' END, 0 FROM n"));
        m_table.refresh();
        m_table.setIndexName(index);
        RecordSearch search;
        search.setTerm(QStringLiteral("zielort"), &m_table);
        QStringList found;
        for (int i = 0; i < names.size(); ++i) {
            const RecordSearch::Result result = search.step(m_table);
            found.append(result.hit ? m_table.text(QStringLiteral("Name")) : QString());
        }
        QCOMPARE(found, names);
    }

    void stateBetweenSteps() {
        RecordSearch search;
        search.setTerm(QStringLiteral("köln"), &m_table);
        QCOMPARE(search.step(m_table).line1, QStringLiteral("ID = 2"));
        QVERIFY(search.foundBefore());
        // Shown again with the same term: the search goes on at the current record.
        search.restart();
        QVERIFY(!search.foundBefore());
        QCOMPARE(search.step(m_table).line1, QStringLiteral("ID = 2"));
        QCOMPARE(search.step(m_table).line1, QStringLiteral("ID = 4"));
        // A new term starts again at the first record.
        search.setTerm(QStringLiteral("Meier"), &m_table);
        QCOMPARE(m_table.recNo(), 0);
        QCOMPARE(search.step(m_table).line1, QStringLiteral("ID = 1"));

        m_table.close();
        QVERIFY_THROWS_EXCEPTION(QuillonError, search.step(m_table));
    }
};

QTEST_GUILESS_MAIN(TestRecordSearch)
#include "TestRecordSearch.moc"
