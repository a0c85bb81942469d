#include "TestSupport.h"
#include "foundations/FieldValues.h"
#include "foundations/QuillonError.h"
#include "foundations/StoreLock.h"
#include "foundations/Table.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(FieldKind)

namespace {

TableDefinition addressDefinition() {
    TableDefinition definition;
    definition.addField(QStringLiteral("ID"), FieldKind::AutoInc, 0, false);
    definition.addField(QStringLiteral("Selected"), FieldKind::Logical, 0, false);
    definition.addField(QStringLiteral("Name"), FieldKind::Text, 20, true);
    definition.addField(QStringLiteral("Ort"), FieldKind::Text, 20, false);
    definition.addField(QStringLiteral("Umsatz"), FieldKind::Currency, 0, false);
    definition.addField(QStringLiteral("Geburtstag"), FieldKind::Date, 0, false);
    definition.addIndex(QStringLiteral("ID"), QStringLiteral("ID"), true);
    definition.addIndex(QStringLiteral("Name"), QStringLiteral("Name;Ort"), false);
    return definition;
}

void addRecord(Table& table, const QString& name, const QString& ort, bool selected = false) {
    table.append();
    table.setText(QStringLiteral("Name"), name);
    table.setText(QStringLiteral("Ort"), ort);
    table.setText(QStringLiteral("Selected"),
                  selected ? QStringLiteral("Wahr") : QStringLiteral("Falsch"));
    table.post();
}

QStringList names(Table& table) {
    QStringList result;
    table.first();
    while (!table.eof()) {
        result.append(table.text(QStringLiteral("Name")));
        table.next();
    }
    return result;
}

} // namespace

class TestTable : public QObject {
    Q_OBJECT

    TestInstallation m_installation;
    QString m_path;
    Table m_table;

private slots:
    void init() {
        m_path = m_installation.dataDir() + QStringLiteral("adressen.DB");
        Table::create(m_path, addressDefinition());
        m_table.setTableName(m_path);
        m_table.open();
        addRecord(m_table, QStringLiteral("Meier"), QStringLiteral("Berlin"), true);
        addRecord(m_table, QStringLiteral("adler"), QStringLiteral("Köln"));
        addRecord(m_table, QStringLiteral("Müller"), QStringLiteral("berlin"), true);
        addRecord(m_table, QStringLiteral("Meister"), QStringLiteral("Bonn"));
    }
    void cleanup() { m_table.close(); }

    void appendGivesIdsAndTextForms() {
        QCOMPARE(m_table.recordCount(), 4);
        QCOMPARE(m_table.text(QStringLiteral("ID")), QStringLiteral("4"));
        m_table.first();
        QCOMPARE(m_table.text(QStringLiteral("ID")), QStringLiteral("1"));
        QCOMPARE(m_table.text(QStringLiteral("Selected")), QStringLiteral("Wahr"));
        QCOMPARE(m_table.text(QStringLiteral("Umsatz")), QString());
        m_table.edit();
        m_table.setText(QStringLiteral("Umsatz"), QStringLiteral("1.234,5"));
        m_table.setText(QStringLiteral("Geburtstag"), QStringLiteral("3.7.1970"));
        m_table.post();
        Table again;
        again.setTableName(m_path);
        again.open();
        QCOMPARE(again.text(QStringLiteral("Umsatz")), QStringLiteral("1234,50"));
        QCOMPARE(again.text(QStringLiteral("Geburtstag")), QStringLiteral("03.07.1970"));
        QCOMPARE(again.fieldCount(), 6);
        QCOMPARE(again.fields().at(5).kind, FieldKind::Date);
    }

    void refusedPostKeepsTheRecordUnwritten() {
        m_table.append();
        m_table.setText(QStringLiteral("Ort"), QStringLiteral("Hamburg"));
        QVERIFY_THROWS_EXCEPTION(QuillonError, m_table.post());
        QCOMPARE(m_table.state(), Table::State::Insert);
        m_table.cancel();
        QCOMPARE(m_table.recordCount(), 4);
        QVERIFY_THROWS_EXCEPTION(QuillonError, m_table.text(QStringLiteral("Telefon")));
        QCOMPARE(m_table.findField(QStringLiteral("telefon")), -1);
        QCOMPARE(m_table.findField(QStringLiteral("ORT")), 3);
    }

    void cursorAndBookmarks() {
        m_table.first();
        QVERIFY(!m_table.eof());
        m_table.last();
        QVERIFY(!m_table.eof());
        m_table.next();
        QVERIFY(m_table.eof());
        QCOMPARE(m_table.text(QStringLiteral("Name")), QStringLiteral("Meister"));
        m_table.moveTo(1);
        const Table::Bookmark mark = m_table.bookmark();
        m_table.deleteRecord();
        QCOMPARE(m_table.text(QStringLiteral("Name")), QStringLiteral("Müller"));
        QVERIFY(!m_table.bookmarkValid(mark));
        QVERIFY(!m_table.gotoBookmark(mark));
        m_table.last();
        m_table.deleteRecord();
        QCOMPARE(m_table.text(QStringLiteral("Name")), QStringLiteral("Müller"));
        QCOMPARE(m_table.recordCount(), 2);
    }

    void indexOrderIgnoresCaseAndReturns() {
        m_table.setIndexName(QStringLiteral("Name"));
        QCOMPARE(names(m_table), (QStringList{"adler", "Meier", "Meister", "Müller"}));
        m_table.setIndexName(QString());
        QCOMPARE(names(m_table), (QStringList{"Meier", "adler", "Müller", "Meister"}));
        QVERIFY_THROWS_EXCEPTION(QuillonError, m_table.setIndexName(QStringLiteral("Ort")));
    }

    void filters_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("marked") << "Selected='True'" << QStringList{"Meier", "Müller"};
        QTest::newRow("marked in German") << "Selected = 'Wahr'" << QStringList{"Meier", "Müller"};
        QTest::newRow("unmarked") << "Selected='False'" << QStringList{"adler", "Meister"};
        QTest::newRow("case-insensitive") << "Ort = 'BERLIN'" << QStringList{"Meier", "Müller"};
        QTest::newRow("prefix") << "Name = 'mei*'" << QStringList{"Meier", "Meister"};
        QTest::newRow("not prefix") << "Name <> 'Mei*'" << QStringList{"adler", "Müller"};
        QTest::newRow("and or") << "Ort = 'Berlin' AND Name <> 'Meier' OR Ort = 'Bonn'"
                                << QStringList{"Müller", "Meister"};
        QTest::newRow("empty expression passes all")
            << "" << QStringList{"Meier", "adler", "Müller", "Meister"};
        QTest::newRow("number comparison") << "ID > '2'" << QStringList{"Müller", "Meister"};
        QTest::newRow("empty field")
            << "Umsatz = ''" << QStringList{"Meier", "adler", "Müller", "Meister"};
    }
    void filters() {
        QFETCH(QString, expression);
        QFETCH(QStringList, names);
        m_table.setFilter(expression);
        m_table.setFiltered(true);
        QCOMPARE(m_table.recordCount(), names.size());
        QCOMPARE(m_table.recNo(), 0);
        QCOMPARE(::names(m_table), names);
        m_table.setFiltered(false);
        QCOMPARE(m_table.recordCount(), 4);
    }

    void refusedFilterChangesNothing() {
        m_table.setFilter(QStringLiteral("Name = 'Meier'"));
        m_table.setFiltered(true);
        QVERIFY_THROWS_EXCEPTION(QuillonError, m_table.setFilter(QStringLiteral("Name = 'x")));
        QCOMPARE(m_table.filter(), QStringLiteral("Name = 'Meier'"));
        QCOMPARE(m_table.recordCount(), 1);
        m_table.setFiltered(false);
        m_table.setFilter(QStringLiteral("Nachname = 'x'"));
        QVERIFY_THROWS_EXCEPTION(QuillonError, m_table.setFiltered(true));
        QVERIFY(!m_table.filtered());
        QCOMPARE(m_table.recordCount(), 4);
    }

    void postUnderFilterAndEvents() {
        QSignalSpy posted(&m_table, &Table::afterPost);
        QSignalSpy current(&m_table, &Table::currentChanged);
        QSignalSpy dataSet(&m_table, &Table::dataSetChanged);
        m_table.setFilter(QStringLiteral("Selected='True'"));
        m_table.setFiltered(true);
        m_table.first();
        m_table.edit();
        m_table.setText(QStringLiteral("Selected"), QStringLiteral("Falsch"));
        m_table.post();
        QCOMPARE(posted.count(), 1);
        QCOMPARE(m_table.recordCount(), 1);
        QCOMPARE(m_table.text(QStringLiteral("Name")), QStringLiteral("Müller"));

        m_table.disableControls();
        current.clear();
        dataSet.clear();
        m_table.setFiltered(false);
        m_table.last();
        m_table.first();
        QCOMPARE(current.count(), 0);
        QCOMPARE(dataSet.count(), 0);
        m_table.enableControls();
        QCOMPARE(dataSet.count(), 1);
    }

    void switchingFilterPostsPendingChange() {
        m_table.first();
        m_table.edit();
        m_table.setText(QStringLiteral("Ort"), QStringLiteral("Hamburg"));
        m_table.setFilter(QStringLiteral("Ort='Hamburg'"));
        m_table.setFiltered(true);
        QCOMPARE(m_table.state(), Table::State::Browse);
        QCOMPARE(m_table.recordCount(), 1);
    }

    void lockFileHeldWhileOpen() {
        const QString lock = m_installation.dataDir() + StoreLock::lockFileName();
        QVERIFY(StoreLock::isHeld(lock));
        Table second;
        second.setTableName(m_path);
        second.open();
        m_table.close();
        QVERIFY(StoreLock::isHeld(lock));
        second.close();
        QVERIFY(!QFileInfo::exists(lock));
        m_table.open();
    }

    void refusedDefinitions_data() {
        QTest::addColumn<int>("variant");
        QTest::newRow("no fields") << 0;
        QTest::newRow("text size 0") << 1;
        QTest::newRow("text size 256") << 2;
        QTest::newRow("index over a missing field") << 3;
        QTest::newRow("two primary indexes") << 4;
        QTest::newRow("secondary without primary") << 5;
    }
    void refusedDefinitions() {
        QFETCH(int, variant);
        TableDefinition definition;
        if (variant != 0)
            definition.addField(QStringLiteral("ID"), FieldKind::AutoInc, 0, false);
        if (variant == 1 || variant == 2)
            definition.addField(QStringLiteral("Name"), FieldKind::Text, variant == 1 ? 0 : 256,
                                false);
        if (variant == 3)
            definition.addIndex(QStringLiteral("ID"), QStringLiteral("Nr"), true);
        if (variant == 4) {
            definition.addIndex(QStringLiteral("A"), QStringLiteral("ID"), true);
            definition.addIndex(QStringLiteral("B"), QStringLiteral("ID"), true);
        }
        if (variant == 5)
            definition.addIndex(QStringLiteral("A"), QStringLiteral("ID"), false);
        const QString path = m_installation.dataDir() + QStringLiteral("refused.DB");
        QVERIFY_THROWS_EXCEPTION(QuillonError, Table::create(path, definition));
        QVERIFY(!QFileInfo::exists(path));
    }

    void repeatedNamesRefusedIgnoringCase() {
        TableDefinition definition;
        definition.addField(QStringLiteral("Name"), FieldKind::Text, 10, false);
        QVERIFY_THROWS_EXCEPTION(
            QuillonError, definition.addField(QStringLiteral("NAME"), FieldKind::Text, 10, false));
        definition.addIndex(QStringLiteral("ix"), QStringLiteral("Name"), true);
        QVERIFY_THROWS_EXCEPTION(
            QuillonError, definition.addIndex(QStringLiteral("IX"), QStringLiteral("Name"), false));
    }

    void conversions_data() {
        QTest::addColumn<FieldKind>("kind");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<QString>("text");
        QTest::newRow("text") << FieldKind::Text << 5 << "Köln" << true << "Köln";
        QTest::newRow("text too long") << FieldKind::Text << 3 << "Köln" << false << "";
        QTest::newRow("text keeps blanks") << FieldKind::Text << 5 << " a " << true << " a ";
        QTest::newRow("picture is 2 long") << FieldKind::Picture << 200 << "abc" << false << "";
        QTest::newRow("integer") << FieldKind::Integer << 0 << " -42 " << true << "-42";
        QTest::newRow("integer text") << FieldKind::Integer << 0 << "4a" << false << "";
        QTest::newRow("integer overflow") << FieldKind::Integer << 0 << "2147483648" << false << "";
        QTest::newRow("logical Wahr") << FieldKind::Logical << 0 << "wahr" << true << "Wahr";
        QTest::newRow("logical True") << FieldKind::Logical << 0 << "TRUE" << true << "Wahr";
        QTest::newRow("logical False") << FieldKind::Logical << 0 << "False" << true << "Falsch";
        QTest::newRow("logical Ja") << FieldKind::Logical << 0 << "Ja" << false << "";
        QTest::newRow("float comma") << FieldKind::Float << 0 << "3,25" << true << "3,25";
        QTest::newRow("float point") << FieldKind::Float << 0 << "3.5" << true << "3,5";
        QTest::newRow("float grouping") << FieldKind::Float << 0 << "1.000,5" << true << "1000,5";
        QTest::newRow("float text") << FieldKind::Float << 0 << "drei" << false << "";
        QTest::newRow("currency") << FieldKind::Currency << 0 << "12" << true << "12,00";
        QTest::newRow("date") << FieldKind::Date << 0 << "1.2.2024" << true << "01.02.2024";
        QTest::newRow("date two-digit year")
            << FieldKind::Date << 0 << "01.02.24" << true << "01.02.2024";
        QTest::newRow("date ISO") << FieldKind::Date << 0 << "2024-02-29" << true << "29.02.2024";
        QTest::newRow("date invalid day") << FieldKind::Date << 0 << "30.02.2024" << false << "";
        QTest::newRow("date text") << FieldKind::Date << 0 << "morgen" << false << "";
        QTest::newRow("time") << FieldKind::Time << 0 << "8:05" << true << "08:05:00";
        QTest::newRow("time invalid") << FieldKind::Time << 0 << "25:00" << false << "";
        QTest::newRow("empty clears any kind") << FieldKind::Date << 0 << "  " << true << "";
    }
    void conversions() {
        QFETCH(FieldKind, kind);
        QFETCH(int, size);
        QFETCH(QString, input);
        QFETCH(bool, fits);
        QFETCH(QString, text);
        const FieldDef field{QStringLiteral("Feld"), kind, size, false};
        if (!fits) {
            try {
                FieldValues::fromText(field, input);
                QFAIL("accepted");
            } catch (const QuillonError& error) {
                QVERIFY2(error.message().contains(QStringLiteral("„Feld“")),
                         qPrintable(error.message()));
            }
            return;
        }
        QCOMPARE(FieldValues::toText(field, FieldValues::fromText(field, input)), text);
    }
};

QTEST_GUILESS_MAIN(TestTable)
#include "TestTable.moc"
