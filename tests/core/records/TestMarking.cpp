#include "TestSupport.h"
#include "definitions/DatabaseSession.h"
#include "definitions/GridLayout.h"
#include "foundations/FileNames.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/TextFile.h"
#include "records/IdRange.h"
#include "records/Marking.h"

#include <QFileInfo>
#include <QTest>
#include <climits>
#include <sqlite3.h>

namespace {

TableDefinition addressDefinition() {
    TableDefinition definition;
    definition.addField(QStringLiteral("ID"), FieldKind::AutoInc, 0, false);
    definition.addField(QStringLiteral("Selected"), FieldKind::Logical, 0, false);
    definition.addField(QStringLiteral("Name"), FieldKind::Text, 20, false);
    definition.addField(QStringLiteral("Ort"), FieldKind::Text, 20, false);
    definition.addField(QStringLiteral("Umsatz"), FieldKind::Currency, 0, false);
    definition.addField(QStringLiteral("Geburtstag"), FieldKind::Date, 0, false);
    definition.addIndex(QStringLiteral("ID"), QStringLiteral("ID"), true);
    definition.addIndex(QStringLiteral("Name"), QStringLiteral("Name;Ort"), false);
    return definition;
}

// Field texts by name; "Selected" left out stays empty.
void addRecord(Table& table, const QList<QPair<QString, QString>>& values) {
    table.append();
    for (const auto& [field, text] : values)
        table.setText(field, text);
    table.post();
}

// The IDs of the marked records of the whole table, whatever the cursor shows.
QString markedIds(const Table& table) {
    QStringList ids;
    table.forEachRow(QStringLiteral("SELECT ID FROM records WHERE Selected = 1 ORDER BY ID"), {},
                     [&](sqlite3_stmt* row) {
                         ids.append(QString::number(sqlite3_column_int64(row, 0)));
                         return true;
                     });
    return ids.join(u',');
}

QString allIds(const Table& table) {
    QStringList ids;
    table.forEachRow(QStringLiteral("SELECT ID FROM records ORDER BY ID"), {},
                     [&](sqlite3_stmt* row) {
                         ids.append(QString::number(sqlite3_column_int64(row, 0)));
                         return true;
                     });
    return ids.join(u',');
}

void addGenerated(Table& table, int count) {
    table.execute(QStringLiteral(
                      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                      "INSERT INTO records (Name, Ort, Selected) SELECT 'Nr' || i, CASE WHEN i % 2 "
                      "= 1 THEN 'Ulm' ELSE 'Bonn' END, 0 FROM n"),
                  {qint64(count)});
    table.refresh();
}

} // namespace

class TestMarking : public QObject {
    Q_OBJECT

    TestInstallation m_installation;
    Table m_table;
    QStringList m_progress;
    Marking::Progress m_record = [this](const QString& text) { m_progress.append(text); };

    void useFilter(const QString& expression) {
        if (expression.isEmpty())
            return;
        m_table.setFilter(expression);
        m_table.setFiltered(true);
    }

private slots:
    // IDs 1 and 4 marked, 5 with an empty mark.
    void init() {
        const QString path = m_installation.dataDir() + QStringLiteral("adressen.DB");
        Table::create(path, addressDefinition());
        m_table.setTableName(path);
        m_table.open();
        addRecord(m_table, {{"Name", "Meier"}, {"Ort", "Berlin"}, {"Selected", "Wahr"}});
        addRecord(m_table, {{"Name", "adler"},
                            {"Ort", "Köln"},
                            {"Selected", "Falsch"},
                            {"Geburtstag", "03.07.1970"}});
        addRecord(
            m_table,
            {{"Name", "Müller"}, {"Ort", "berlin"}, {"Selected", "Falsch"}, {"Umsatz", "1234,5"}});
        addRecord(m_table, {{"Name", "Meister"}, {"Ort", "Bonn"}, {"Selected", "Wahr"}});
        addRecord(m_table, {{"Name", "Schulz"}, {"Ort", "Köln"}});
        m_progress.clear();
    }
    void cleanup() {
        m_table.close();
        m_table.setFilter(QString());
        m_table.setFiltered(false);
        m_table.setIndexName(QString());
    }

    void markAllMarksWhatPassedTheFilter_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("marked");
        QTest::addColumn<int>("visited");
        QTest::addColumn<int>("changed");
        QTest::newRow("no filter") << ""
                                   << "1,2,3,4,5" << 5 << 3;
        QTest::newRow("filter ignoring case") << "Ort='köln'"
                                              << "1,2,4,5" << 2 << 2;
        QTest::newRow("prefix filter, already marked") << "Name='Mei*'"
                                                       << "1,4" << 2 << 0;
        // Marking makes records leave this filter; every one that passed is marked.
        QTest::newRow("filter the marking changes") << "Selected='False'"
                                                    << "1,2,3,4,5" << 3 << 3;
        QTest::newRow("filter passing nothing") << "Ort='Ulm'"
                                                << "1,4" << 0 << 0;
    }
    void markAllMarksWhatPassedTheFilter() {
        QFETCH(QString, filter);
        QFETCH(QString, marked);
        QFETCH(int, visited);
        QFETCH(int, changed);
        useFilter(filter);
        const Marking::Result result = Marking::markAll(m_table, m_record);
        QCOMPARE(markedIds(m_table), marked);
        QCOMPARE(result.visited, visited);
        QCOMPARE(result.changed, changed);
        QCOMPARE(m_progress, visited
                                 ? QStringList{QStringLiteral("Markieren: %1 von %1").arg(visited)}
                                 : QStringList{});
        QCOMPARE(m_table.filter(), filter);
        QCOMPARE(m_table.filtered(), !filter.isEmpty());
        QVERIFY(m_table.eof());
        QCOMPARE(m_table.recNo(), m_table.recordCount() - 1);
    }

    void unmarkAllRemovesTheFilterAndEveryMark() {
        useFilter(QStringLiteral("Ort='Berlin'"));
        const Marking::Result result = Marking::unmarkAll(m_table, m_record);
        QCOMPARE(m_table.filter(), QString());
        QVERIFY(!m_table.filtered());
        QCOMPARE(m_table.recordCount(), 5);
        QCOMPARE(markedIds(m_table), QString());
        QCOMPARE(result.visited, 5);
        QCOMPARE(result.changed, 2);
        QCOMPARE(m_progress, QStringList{QStringLiteral("Unmarkieren: 5 von 5")});
        QVERIFY(m_table.eof());
        // The empty mark became false as well.
        QCOMPARE(m_table.text(QStringLiteral("Selected")), QStringLiteral("Falsch"));
    }

    void markIdRange_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("marked");
        QTest::newRow("both ends included") << 2 << 3 << "1,2,3,4";
        QTest::newRow("start above end marks nothing") << 3 << 2 << "1,4";
        QTest::newRow("one ID") << 5 << 5 << "1,4,5";
        QTest::newRow("range around every ID") << -10 << 100 << "1,2,3,4,5";
    }
    void markIdRange() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, marked);
        m_table.setIndexName(QStringLiteral("Name"));
        useFilter(QStringLiteral("Ort='Köln'"));
        Marking::markIdRange(m_table, start, end, m_record);
        QCOMPARE(markedIds(m_table), marked);
        QCOMPARE(m_progress, QStringList{QStringLiteral("Record: 5 von 5")});
        QCOMPARE(m_table.filter(), QString());
        QVERIFY(!m_table.filtered());
        QCOMPARE(m_table.recNo(), 0);
        QVERIFY(!m_table.eof());
        // Closed and opened again in the same order: adler comes first by name.
        QCOMPARE(m_table.indexName(), QStringLiteral("Name"));
        QCOMPARE(m_table.text(QStringLiteral("Name")), QStringLiteral("adler"));
    }

    void deleteMarked_data() {
        QTest::addColumn<QString>("markFirst");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QStringList>("progress");
        QTest::newRow("the marked ones, filter off but kept")
            << ""
            << "Ort='Köln'"
            << "2,3,5" << QStringList{"Delete: 2"};
        QTest::newRow("nothing marked") << "none"
                                        << ""
                                        << "1,2,3,4,5" << QStringList{};
        QTest::newRow("every record marked") << "all"
                                             << ""
                                             << "" << QStringList{"Delete: 5"};
    }
    void deleteMarked() {
        QFETCH(QString, markFirst);
        QFETCH(QString, filter);
        QFETCH(QString, left);
        QFETCH(QStringList, progress);
        if (markFirst == u"none")
            Marking::unmarkAll(m_table);
        else if (markFirst == u"all")
            Marking::markAll(m_table);
        useFilter(filter);
        const Marking::Result result = Marking::deleteMarked(m_table, m_record);
        QCOMPARE(allIds(m_table), left);
        QCOMPARE(result.changed, 5 - m_table.recordCount());
        QCOMPARE(m_progress, progress);
        QCOMPARE(m_table.filter(), filter);
        QVERIFY(!m_table.filtered());
        QCOMPARE(m_table.recNo(), m_table.isEmpty() ? -1 : 0);
    }

    // Deleting many records sets the secondary indexes aside; an order that needs one builds
    // it again, and the order is right.
    void largeDeleteSetsIndexesAside() {
        addGenerated(m_table, 24001);
        useFilter(QStringLiteral("Ort='Ulm'"));
        Marking::markAll(m_table);
        QCOMPARE(indexCount(m_table), 1);
        const Marking::Result deleted = Marking::deleteMarked(m_table);
        QCOMPARE(deleted.changed, 12003);
        QCOMPARE(indexCount(m_table), 0);
        m_table.setIndexName(QStringLiteral("Name"));
        QCOMPARE(indexCount(m_table), 1);
        QString expected;
        m_table.forEachRow(QStringLiteral("SELECT Name FROM records ORDER BY Name COLLATE NOCASE "
                                          "DESC, Ort COLLATE NOCASE DESC, rowid DESC LIMIT 1"),
                           {}, [&](sqlite3_stmt* row) {
                               expected = QString::fromUtf8(
                                   reinterpret_cast<const char*>(sqlite3_column_text(row, 0)));
                               return false;
                           });
        m_table.last();
        QCOMPARE(m_table.text(QStringLiteral("Name")), expected);
        QCOMPARE(m_table.recordCount(), 12003);
    }

    void progressComesInBatches() {
        addGenerated(m_table, 12001);
        useFilter(QStringLiteral("Ort='Ulm'"));
        const Marking::Result marked = Marking::markAll(m_table, m_record);
        QCOMPARE(marked.changed, 6001);
        QCOMPARE(m_progress, (QStringList{"Markieren: 5000 von 6001", "Markieren: 6001 von 6001"}));
        QCOMPARE(m_table.recordCount(), 6001);

        m_progress.clear();
        const Marking::Result deleted = Marking::deleteMarked(m_table, m_record);
        QCOMPARE(deleted.visited, 12006);
        QCOMPARE(deleted.changed, 6003);
        QCOMPARE(m_progress.size(), 3);
        QCOMPARE(m_progress.last(), QStringLiteral("Delete: 6003"));
        QCOMPARE(m_table.recordCount(), 6003);
        QCOMPARE(markedIds(m_table), QString());
    }

    void markByText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("marked");
        QTest::addColumn<int>("changed");
        QTest::newRow("empty text marks nothing") << ""
                                                  << "1,4" << 0;
        // "Wahr" and "Falsch" hold an A; the empty mark of record 5 has no text.
        QTest::newRow("a is in every logical text") << "a"
                                                    << "1,2,3,4" << 2;
        QTest::newRow("a to z ignore case") << "köLN"
                                            << "1,2,4,5" << 2;
        QTest::newRow("umlaut only in the same case") << "MÜLLER"
                                                      << "1,4" << 0;
        QTest::newRow("currency as text") << "34,50"
                                          << "1,3,4" << 1;
        QTest::newRow("date as text") << "07.1970"
                                      << "1,2,4" << 1;
        QTest::newRow("number in ID and currency") << "5"
                                                   << "1,3,4,5" << 2;
    }
    void markByText() {
        QFETCH(QString, text);
        QFETCH(QString, marked);
        QFETCH(int, changed);
        m_table.first();
        QCOMPARE(Marking::markByText(m_table, text), changed);
        QCOMPARE(markedIds(m_table), marked);
        QVERIFY(m_table.eof());
    }

    void markByTextStartsAtTheCurrentRecord() {
        Marking::unmarkAll(m_table);
        m_table.moveTo(3);
        QCOMPARE(Marking::markByText(m_table, QStringLiteral("er")), 1);
        QCOMPARE(markedIds(m_table), QStringLiteral("4"));
        // Again at the end: only the last record is looked at, not adler in Köln.
        QVERIFY(m_table.eof());
        QCOMPARE(Marking::markByText(m_table, QStringLiteral("Köln")), 1);
        QCOMPARE(markedIds(m_table), QStringLiteral("4,5"));
    }

    void markByTextKeepsToTheFilter() {
        Marking::unmarkAll(m_table);
        // Meister in Bonn holds "er" but does not pass; the marked ones leave the filter.
        useFilter(QStringLiteral("Selected='False' AND Ort<>'Bonn'"));
        m_table.first();
        QCOMPARE(Marking::markByText(m_table, QStringLiteral("er")), 3);
        QCOMPARE(markedIds(m_table), QStringLiteral("1,2,3"));
        QCOMPARE(m_table.recordCount(), 1);
    }

    void emptyDatabaseRecreatesTheTableFromItsProfile() {
        TestInstallation installation;
        RecordingDialogs dialogs;
        DatabaseSession session(
            Folders::forProgramDir(installation.programDir(), installation.lettersDir()), dialogs);
        session.open(QStringLiteral("Database.ini"));
        Table* table = session.activeTable();
        addRecord(*table, {{"Name", "Meier"}});
        addRecord(*table, {{"Name", "Adler"}});
        const QString layout = installation.dataDir() + QStringLiteral("Database.grd");
        GridLayout::write(layout, {{QStringLiteral("Name"), 80, QStringLiteral("Name"), true}});
        const QByteArray profile = installation.readBytes(QStringLiteral("Data/database.pro"));

        const QString tableList = Marking::emptyDatabase(*table);
        QCOMPARE(tableList, QStringLiteral("database.ini"));
        QVERIFY(!table->isOpen());
        QVERIFY(!FileNames::exists(installation.dataDir() + QStringLiteral("database.DB")));
        QVERIFY(!QFileInfo::exists(layout));

        session.open(tableList);
        QVERIFY(session.hasOpenTable());
        QCOMPARE(session.activeTable()->recordCount(), 0);
        QCOMPARE(session.activeTable()->fieldCount(), 17);
        QCOMPARE(session.activeTable()->fields()[7].name, QStringLiteral("Name"));
        QCOMPARE(installation.readBytes(QStringLiteral("Data/database.pro")), profile);
    }

    void idRangeTexts_data() {
        QTest::addColumn<QString>("startText");
        QTest::addColumn<QString>("endText");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<bool>("fails");
        QTest::newRow("two numbers") << "5"
                                     << "7" << 5 << 7 << false;
        QTest::newRow("blanks around, leading zeros") << "  12 "
                                                      << "00000000013" << 12 << 13 << false;
        QTest::newRow("32-bit limits") << "-2147483648"
                                       << "2147483647" << INT_MIN << INT_MAX << false;
        QTest::newRow("start empty: neither changes") << ""
                                                      << "7" << 20 << 10 << true;
        QTest::newRow("eleven blanks") << "           "
                                       << "7" << 20 << 10 << true;
        QTest::newRow("blanks between digits") << "1 2"
                                               << "7" << 20 << 10 << true;
        QTest::newRow("start above 32 bits") << "2147483648"
                                             << "7" << 20 << 10 << true;
        QTest::newRow("only end fails: start is new") << "5"
                                                      << "abc" << 5 << 10 << true;
    }
    void idRangeTexts() {
        QFETCH(QString, startText);
        QFETCH(QString, endText);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(bool, fails);
        IdRange range{20, 10};
        QString message;
        try {
            range.readTexts(startText, endText);
        } catch (const QuillonError& error) {
            message = error.message();
        }
        QCOMPARE(message.contains(QStringLiteral("ist keine gültige ganze Zahl")), fails);
        QCOMPARE(range.start, start);
        QCOMPARE(range.end, end);
    }
};

QTEST_GUILESS_MAIN(TestMarking)
#include "TestMarking.moc"
