#include "TestSupport.h"
#include "foundations/BulkInsert.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

struct Fixture {
    QTemporaryDir dir;
    Table table;

    explicit Fixture(bool requiredName = false) {
        TableDefinition definition;
        definition.addField(QStringLiteral("ID"), FieldKind::AutoInc, 0, false);
        definition.addField(QStringLiteral("Nummer"), FieldKind::AutoInc, 0, false);
        definition.addField(QStringLiteral("Name"), FieldKind::Text, 5, requiredName);
        definition.addField(QStringLiteral("Kurz"), FieldKind::Picture, 0, false);
        definition.addField(QStringLiteral("Anzahl"), FieldKind::Integer, 0, false);
        definition.addField(QStringLiteral("Aktiv"), FieldKind::Logical, 0, false);
        definition.addField(QStringLiteral("Wert"), FieldKind::Float, 0, false);
        definition.addField(QStringLiteral("Betrag"), FieldKind::Currency, 0, false);
        definition.addField(QStringLiteral("Tag"), FieldKind::Date, 0, false);
        definition.addField(QStringLiteral("Zeit"), FieldKind::Time, 0, false);
        definition.addField(QStringLiteral("Notiz"), FieldKind::Memo, 0, false);
        definition.addIndex(QStringLiteral("ID"), QStringLiteral("ID"), true);
        Table::create(dir.path() + QStringLiteral("/t.DB"), definition);
        table.setTableName(dir.path() + QStringLiteral("/t.DB"));
        table.open();
    }
};

// The text the store keeps for the value, or the error it gives.
QString throughSetText(Table& table, const QString& field, const QString& text) {
    try {
        table.append();
        table.setText(field, text);
        table.post();
    } catch (const QuillonError& error) {
        table.cancel();
        return QStringLiteral("error: ") + error.message();
    }
    table.last();
    return table.text(field);
}

QString throughBulkInsert(Table& table, const QString& field, const QString& text) {
    BulkInsert insert(table, {table.fieldIndex(field)});
    try {
        insert.setText(0, text);
        insert.insert();
    } catch (const QuillonError& error) {
        return QStringLiteral("error: ") + error.message();
    }
    table.refresh();
    table.last();
    return table.text(field);
}

} // namespace

class TestBulkInsert : public QObject {
    Q_OBJECT
private slots:
    // Every kind takes text exactly as Table::setText takes it, errors included.
    void convertsLikeSetText_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        const QList<QPair<const char*, QStringList>> cases = {
            {"Name", {"", "abc", "abcde", "abcdef", " x "}},
            {"Kurz", {"ab", "abc"}},
            {"Anzahl", {"", " 42 ", "-7", "+3", "1,5", "x", "2147483648"}},
            {"Aktiv", {"Wahr", "falsch", "TRUE", "ja", "  "}},
            {"Wert", {"1,5", "1.000,25", "1e3", "abc"}},
            {"Betrag", {"12,5", "-0,01", "zwölf"}},
            {"Tag", {"1.2.1970", "2001-04-03", "31.2.2000", "1.2.70", "heute"}},
            {"Zeit", {"12:30", "23:59:59", "24:00", "x"}},
            {"Notiz", {QString(300, u'n'), "zwei\nZeilen"}},
            {"Nummer", {"5"}},
        };
        for (const auto& [field, texts] : cases)
            for (const QString& text : texts)
                QTest::addRow("%s %s", field, qPrintable(text.left(12).replace(u'\n', u' ')))
                    << field << text;
    }
    void convertsLikeSetText() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        Fixture f;
        const QString expected = throughSetText(f.table, field, text);
        QString actual;
        try {
            actual = throughBulkInsert(f.table, field, text);
        } catch (const QuillonError& error) {
            // Auto-increment fields are refused before the first record.
            actual = QStringLiteral("error: ") + error.message();
        }
        QCOMPARE(actual, expected);
    }

    // A second auto-increment field is numbered on as post() numbers it; a required field
    // left empty is refused and the record is not written.
    void numbersAndRequiredFields() {
        Fixture f(true);
        f.table.append();
        f.table.setText(QStringLiteral("Name"), QStringLiteral("a"));
        f.table.post();
        {
            BulkInsert insert(f.table, {f.table.fieldIndex(QStringLiteral("Name"))});
            insert.setText(0, u"b");
            insert.insert();
            QVERIFY_THROWS_EXCEPTION(QuillonError, insert.insert());
            insert.setText(0, u"c");
            insert.insert();
            insert.finish();
        }
        f.table.refresh();
        QCOMPARE(f.table.recordCount(), 3);
        f.table.last();
        QCOMPARE(f.table.text(QStringLiteral("Nummer")), QStringLiteral("3"));
        QCOMPARE(f.table.text(QStringLiteral("Name")), QStringLiteral("c"));
    }
};

QTEST_GUILESS_MAIN(TestBulkInsert)
#include "TestBulkInsert.moc"
