#include "TestSupport.h"
#include "export/TextExport.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/TextFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using TextExport::Options;

namespace {

// A table beside its profile with three records:
// 1 Alpha/Nord (marked), 2 Beta/Süd, 3 Gamma/Nord (marked).
struct Fixture {
    QTemporaryDir dir;
    Table table;

    explicit Fixture(const QString& nameSize = QStringLiteral("30")) {
        TableDefinition definition;
        definition.addField(QStringLiteral("ID"), FieldKind::AutoInc, 0, false);
        definition.addField(QStringLiteral("Selected"), FieldKind::Logical, 0, false);
        definition.addField(QStringLiteral("Name"), FieldKind::Text, 30, false);
        definition.addField(QStringLiteral("Ort"), FieldKind::Text, 20, false);
        definition.addField(QStringLiteral("Betrag"), FieldKind::Currency, 0, false);
        definition.addField(QStringLiteral("Seit"), FieldKind::Date, 0, false);
        definition.addField(QStringLiteral("Notiz"), FieldKind::Memo, 0, false);
        definition.addIndex(QStringLiteral("ID"), QStringLiteral("ID"), true);
        definition.addIndex(QStringLiteral("Ort"), QStringLiteral("Ort"), false);
        Table::create(path(QStringLiteral("kunden.DB")), definition);
        TextFile::writeLines(path(QStringLiteral("kunden.pro")),
                             {"FELDNAME|TYP|PFLICHT|GROESSE", "ID|ftAutoInc|False|0",
                              "Selected|ftBoolean|False|0", "Name|ftString|False|" + nameSize,
                              "Ort|ftString|False|20", "Betrag|ftCurrency|False|-10",
                              "Seit|ftDate|False|-12", "Notiz|ftMemo|False|0"});
        table.setTableName(path(QStringLiteral("kunden.DB")));
        table.open();
        add({"Wahr", "Alpha", "Nord", "12,5", "3.4.2001", ""});
        add({"Falsch", "Beta", "Süd", "", "", "zwei\r\nZeilen"});
        add({"Wahr", "Gamma", "Nord", "", "", "€ ☺"});
        table.first();
    }
    QString path(const QString& name) const { return dir.path() + u'/' + name; }
    void add(const QStringList& values) {
        static const QStringList names = {"Selected", "Name", "Ort", "Betrag", "Seit", "Notiz"};
        table.append();
        for (int i = 0; i < names.size(); ++i)
            table.setText(names[i], values[i]);
        table.post();
    }
    QByteArray exported(const Options& options) {
        const QString out = path(QStringLiteral("out.csv"));
        TextExport::ExportText(table, options, [&] { return out; });
        QFile file(out);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
};

Options options(const QStringList& fields, bool header, bool trim,
                const QString& delimiter = QStringLiteral(";")) {
    Options o;
    o.fields = fields;
    o.header = header;
    o.trim = trim;
    o.delimiter = delimiter;
    return o;
}

QByteArray blanks(int n) {
    return QByteArray(n, ' ');
}

} // namespace

class TestTextExport : public QObject {
    Q_OBJECT
private slots:
    // Widths are the profile size + 10 (a computed 0 is 8, a negative one pads nothing);
    // names are padded also when values are trimmed; fields follow the table's order.
    void bytesOfTheFile_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("header");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("trimmed") << QStringList{"Ort", "Name"} << false << true << ";"
                                 << QByteArray("Alpha;Nord;\r\nBeta;S\xFC"
                                               "d;\r\nGamma;Nord;\r\n");
        QTest::newRow("padded") << QStringList{"Name", "Ort"} << false << false << ";"
                                << "Alpha" + blanks(35) + ";Nord" + blanks(26) + ";\r\nBeta" +
                                       blanks(36) +
                                       ";S\xFC"
                                       "d" +
                                       blanks(27) + ";\r\nGamma" + blanks(35) + ";Nord" +
                                       blanks(26) + ";\r\n";
        QTest::newRow("header padded when trimmed")
            << QStringList{"ID", "Selected", "Betrag", "Seit"} << true << true << ";"
            << "ID" + blanks(8) +
                   ";Selected  ;Betrag  ;Seit;\r\n1;Wahr;12,50;03.04.2001;\r\n2;"
                   "Falsch;;;\r\n3;Wahr;;;\r\n";
        QTest::newRow("no delimiter") << QStringList{"ID", "Name"} << false << true << ""
                                      << QByteArray("1Alpha\r\n2Beta\r\n3Gamma\r\n");
        QTest::newRow("long delimiter, no fields")
            << QStringList{} << true << false << " | " << QByteArray("\r\n\r\n\r\n\r\n");
        QTest::newRow("memo line break and characters outside Windows-1252")
            << QStringList{"Notiz"} << false << true << ";"
            << QByteArray(";\r\nzwei\r\nZeilen;\r\n\x80 ?;\r\n");
    }
    void bytesOfTheFile() {
        QFETCH(QStringList, fields);
        QFETCH(bool, header);
        QFETCH(bool, trim);
        QFETCH(QString, delimiter);
        QFETCH(QByteArray, bytes);
        Fixture f;
        QCOMPARE(f.exported(options(fields, header, trim, delimiter)), bytes);
    }

    // Only-marked exports the marked records of the whole table, not of the preset filter,
    // and switches filtering off; the table stands on its record again.
    void onlyMarkedWithPresetFilter() {
        Fixture f;
        f.table.setFilter(QStringLiteral("Name='Gamma'"));
        f.table.setFiltered(true);
        Options o = options({"Name"}, false, true);
        o.onlyMarked = true;
        QCOMPARE(f.exported(o), QByteArray("Alpha;\r\nGamma;\r\n"));
        QVERIFY(!f.table.filtered());
        QCOMPARE(f.table.text(QStringLiteral("Name")), QStringLiteral("Gamma"));

        // Without the option the filter in force chooses, in the current order.
        f.table.setFilter(QStringLiteral("Ort='Nord'"));
        f.table.setFiltered(true);
        f.table.setIndexName(QStringLiteral("Ort"));
        f.table.last();
        QCOMPARE(f.exported(options({"Name"}, false, true)), QByteArray("Alpha;\r\nGamma;\r\n"));
        QVERIFY(!f.table.filtered());
        QCOMPARE(f.table.text(QStringLiteral("Name")), QStringLiteral("Gamma"));
        f.table.setFiltered(false);
        QCOMPARE(f.exported(options({"Name"}, false, true)),
                 QByteArray("Alpha;\r\nGamma;\r\nBeta;\r\n"));
    }

    void cancelWritesNothingButSwitchesFilterOff() {
        Fixture f;
        f.table.setFilter(QStringLiteral("Ort='Nord'"));
        f.table.setFiltered(true);
        const auto result = TextExport::ExportText(f.table, options({"Name"}, true, false),
                                                   [] { return QString(); });
        QVERIFY(result.path.isEmpty());
        QVERIFY(!f.table.filtered());
        QCOMPARE(f.table.filter(), QStringLiteral("Ort='Nord'"));
        QCOMPARE(QDir(f.dir.path()).entryList({"*.csv"}), QStringList{});

        // With only the marked records asked for, their filter text stays set instead.
        f.table.setFiltered(true);
        Options marked = options({"Name"}, true, false);
        marked.onlyMarked = true;
        TextExport::ExportText(f.table, marked, [] { return QString(); });
        QVERIFY(!f.table.filtered());
        QCOMPARE(f.table.filter(), QStringLiteral("Selected='True'"));
    }

    // Errors leave the existing file as it was and write nothing.
    void failuresWriteNothing_data() {
        QTest::addColumn<QString>("nameSize");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("inMessage");
        QTest::newRow("size not a number") << "dreißig"
                                           << "out.csv"
                                           << "„dreißig“";
        QTest::newRow("folder that is a file") << "30"
                                               << "kunden.pro/out.csv"
                                               << "kunden.pro";
        QTest::newRow("missing folder") << "30"
                                        << "fehlt/out.csv"
                                        << "fehlt";
    }
    void failuresWriteNothing() {
        QFETCH(QString, nameSize);
        QFETCH(QString, target);
        QFETCH(QString, inMessage);
        Fixture f(nameSize);
        TextFile::writeLines(f.path("out.csv"), {"alt"});
        bool asked = false;
        try {
            TextExport::ExportText(f.table, options({"Name"}, true, false), [&] {
                asked = true;
                return f.path(target);
            });
            QFAIL("no error");
        } catch (const QuillonError& error) {
            QVERIFY2(error.message().contains(inMessage), qPrintable(error.message()));
        }
        QCOMPARE(asked, nameSize == u"30");
        QFile old(f.path("out.csv"));
        old.open(QIODevice::ReadOnly);
        QCOMPARE(old.readAll(), QByteArray("alt\r\n"));
        QCOMPARE(QDir(f.dir.path()).entryList({"*.csv*"}), QStringList{"out.csv"});
    }
};

QTEST_GUILESS_MAIN(TestTextExport)
#include "TestTextExport.moc"
