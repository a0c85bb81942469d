#include "TestSupport.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "import/TextImport.h"
#include "import/TextLineReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

using TextImport::MappingEntry;

namespace {

// A small address table: the four standard fields the import sets, then fields of every
// kind a mapping may fill.
struct Fixture {
    QTemporaryDir dir;
    Table table;

    Fixture() {
        TableDefinition definition;
        definition.addField(QStringLiteral("ID"), FieldKind::AutoInc, 0, false);
        definition.addField(QStringLiteral("Selected"), FieldKind::Logical, 0, false);
        definition.addField(QStringLiteral("Invalid"), FieldKind::Logical, 0, false);
        definition.addField(QStringLiteral("LetztesMail"), FieldKind::Text, 20, false);
        definition.addField(QStringLiteral("Name"), FieldKind::Text, 10, false);
        definition.addField(QStringLiteral("Ort"), FieldKind::Text, 20, false);
        definition.addField(QStringLiteral("Anzahl"), FieldKind::Integer, 0, false);
        definition.addField(QStringLiteral("Geburtstag"), FieldKind::Date, 0, false);
        definition.addField(QStringLiteral("Notiz"), FieldKind::Memo, 0, false);
        definition.addIndex(QStringLiteral("ID"), QStringLiteral("ID"), true);
        definition.addIndex(QStringLiteral("Name"), QStringLiteral("Name;Ort"), false);
        Table::create(path(QStringLiteral("adressen.DB")), definition);
        table.setTableName(path(QStringLiteral("adressen.DB")));
        table.open();
    }
    QString path(const QString& name) const { return dir.path() + u'/' + name; }
    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("in.csv")) {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }
    // Every record in key order as "field=text" for the fields asked, joined by "|".
    QStringList rows(const QStringList& fields) {
        QStringList result;
        for (int row = 0; row < table.recordCount(); ++row) {
            table.moveTo(row);
            QStringList texts;
            for (const QString& field : fields)
                texts.append(table.text(field));
            result.append(texts.join(u'|'));
        }
        return result;
    }
};

QList<MappingEntry> map(const QList<QPair<QString, QString>>& columns) {
    QList<MappingEntry> mapping;
    for (const auto& [field, column] : columns)
        mapping.append({field, column, field});
    return mapping;
}

QStringList fields(const QString& line, const QString& delimiters, int count) {
    std::vector<QStringView> words;
    const QString prepared = TextImport::prepareLine(line);
    TextImport::splitWords(prepared, delimiters, words);
    QStringList result;
    for (int n = 0; n <= count; ++n)
        result.append(TextImport::fieldValue(words, n).toString());
    return result;
}

QStringList linesOf(const QByteArray& bytes) {
    QTemporaryDir dir;
    QFile file(dir.path() + QStringLiteral("/lines.txt"));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    TextLineReader reader(file.fileName());
    QStringList lines;
    QString line;
    while (reader.next(&line))
        lines.append(line);
    if (reader.lineCount() != lines.size())
        return {QStringLiteral("counted %1 lines").arg(reader.lineCount())};
    return lines;
}

} // namespace

class TestTextImport : public QObject {
    Q_OBJECT
private slots:
    // Quotes come off a value's ends but protect nothing; ";;" gets a blank whatever the
    // delimiters are. Field 0 is always empty.
    void fieldExtraction_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("delimiters");
        QTest::addColumn<QStringList>("expected"); // fields 0 to 3
        const auto row = [](const char* name, const char* line, const char* delimiters,
                            QStringList expected) {
            QTest::newRow(name) << QString::fromUtf8(line) << QString::fromUtf8(delimiters)
                                << (QStringList{QString()} + expected);
        };
        row("plain", "x;y;z", ";", {"x", "y", "z"});
        row("empty middle", "x;;z", ";", {"x", "", "z"});
        row("quoted", "\"x\";\"y\";\"z\"", ";", {"x", "y", "z"});
        row("leading delimiter", ";y;z", ";", {"y", "z", ""});
        row("trailing delimiter", "x;y;", ";", {"x", "y", ""});
        row("quote does not protect", "\"x; y\";z", ";", {"x", "y", "z"});
        row("inner quotes stay", "x; \"y\" ;z", ";", {"x", "\"y\"", "z"});
        row("comma run separates like one", "x,,z", ",", {"x", "z", ""});
        row("semicolons get a blank under another delimiter", "a,b;;c", ",", {"a", "b; ;c", ""});
        row("three semicolons", "a;;;b", ";", {"a", "", ""});
        row("several delimiters", "a;b,c\td", ";,", {"a", "b", "c\td"});
        row("no delimiters: the whole line", "a;b", "", {"a;b", "", ""});
        row("line trimmed of control characters", "\t\x01 x;y \x02", ";", {"x", "y", ""});
        row("doubled quotes lose one each end", "\"\"x\"\";y", ";", {"\"x\"", "y", ""});
        row("lone quote", "\";x", ";", {"", "x", ""});
        row("blank word", "x; ;z", ";", {"x", "", "z"});
    }
    void fieldExtraction() {
        QFETCH(QString, line);
        QFETCH(QString, delimiters);
        QFETCH(QStringList, expected);
        QCOMPARE(fields(line, delimiters, 3), expected);
    }

    void lineEndsAndEncodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("LF, no final line end") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("CR CR LF is one empty line")
            << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("empty lines count") << QByteArray("\n\na\n") << QStringList{"", "", "a"};
        QTest::newRow("NUL ends the text") << QByteArray("a\nb\0c\nd", 7) << QStringList{"a", "b"};
        QTest::newRow("NUL after a line end") << QByteArray("a\n\0b", 4) << QStringList{"a"};
        QTest::newRow("UTF-8") << QByteArray("Köln\r\nMüller") << QStringList{"Köln", "Müller"};
        QTest::newRow("UTF-8 with BOM")
            << QByteArray("\xEF\xBB\xBFK\xC3\xB6ln") << QStringList{"Köln"};
        QTest::newRow("BOM before bytes that are not UTF-8 is Windows-1252")
            << QByteArray("\xEF\xBB\xBFK\xF6ln") << QStringList{"Köln"};
        QTest::newRow("Windows-1252")
            << QByteArray("K\xF6ln\n\x80 5") << QStringList{"Köln", "€ 5"};
        QTest::newRow("invalid UTF-8 late in the file is Windows-1252")
            << QByteArray("Köln\nM\xFCller") << QStringList{"KÃ¶ln", "Müller"};
        QTest::newRow("overlong UTF-8 form is Windows-1252")
            << QByteArray("\xC0\xAF") << QStringList{"À¯"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        // A CR LF whose two bytes fall into different read chunks is still one line end.
        QByteArray split(1024 * 1024 - 1, 'x');
        split += "\r\ny";
        QTest::newRow("CR LF across chunks")
            << split << QStringList{QString(1024 * 1024 - 1, u'x'), "y"};
        // So is a character whose UTF-8 bytes are split by the chunk's end, and a text
        // that ends in the middle of one is not UTF-8.
        QByteArray umlaut(1024 * 1024 - 1, 'x');
        umlaut += "\xC3\xBC\n\xE2\x82\xAC";
        QTest::newRow("UTF-8 across chunks")
            << umlaut << QStringList{QString(1024 * 1024 - 1, u'x') + u'ü', "€"};
        QTest::newRow("cut UTF-8 at the end is Windows-1252")
            << QByteArray("K\xC3\xB6ln\n\xE2\x82") << QStringList{"KÃ¶ln", "â‚"};
    }
    void lineEndsAndEncodings() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(linesOf(bytes), lines);
    }

    void unreadableFileAddsNothing() {
        Fixture f;
        QVERIFY_THROWS_EXCEPTION(QuillonError,
                                 TextImport::ImportCVS(f.table, f.path("fehlt.csv"), {}, ";"));
        QVERIFY_THROWS_EXCEPTION(QuillonError,
                                 TextImport::ImportCVS(f.table, f.dir.path(), {}, ";"));
        QCOMPARE(f.table.recordCount(), 0);
    }

    // Empty lines add nothing and show no progress; every record is marked, LetztesMail is
    // empty, unmapped fields stay empty, a column past the line's end gives an empty value.
    void importMapsMarksAndReports() {
        Fixture f;
        f.table.append();
        f.table.setText(QStringLiteral("Name"), QStringLiteral("Alt"));
        f.table.post();
        const QString file =
            f.write("Name;Ort;Anzahl;Geburtstag\r\n   \r\n\"Meier\";Köln;7;1.2.1970;übrig\r\n");
        QStringList progress;
        const auto result = TextImport::ImportCVS(
            f.table, file,
            map({{"Name", "1"}, {"Ort", " 2 "}, {"Notiz", "5"}, {"LetztesMail", "0"}}), ";",
            [&](const QString& text) { progress.append(text); });
        QCOMPARE(result.added, 2);
        QCOMPARE(result.lines, 3);
        QCOMPARE(progress, (QStringList{"Import: 0 von 3", "Import: 2 von 3"}));
        QCOMPARE(f.rows({"ID", "Selected", "Invalid", "LetztesMail", "Name", "Ort", "Notiz"}),
                 (QStringList{"1||||Alt||", "2|Wahr|||Name|Ort|", "3|Wahr|||Meier|Köln|übrig"}));
        // The cursor stands on the last record added, as after posting it.
        QCOMPARE(f.table.text(QStringLiteral("ID")), QStringLiteral("3"));

        progress.clear();
        QCOMPARE(TextImport::ImportCVS(f.table, f.write("\n \t\n"), map({{"Name", "x"}}), ";",
                                       [&](const QString& text) { progress.append(text); })
                     .added,
                 0);
        QVERIFY(progress.isEmpty());
    }

    // The import stops at the failing line and names it and the field; what came before stays.
    void errorStopsAtTheLine_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("kept");
        QTest::addColumn<QStringList>("inMessage");
        QTest::newRow("column not a number")
            << QByteArray("\n\na;b") << "Name"
            << "zwei" << 0 << QStringList{"Zeile 3", "„Name“", "„zwei“"};
        QTest::newRow("field the table lacks") << QByteArray("a;b") << "Telefon"
                                               << "1" << 0 << QStringList{"Zeile 1", "„Telefon“"};
        QTest::newRow("text too long")
            << QByteArray("kurz\nauch kurz\nviel zu lang\nx") << "Name"
            << "1" << 2 << QStringList{"Zeile 3", "„Name“", "2 Datensätze"};
        QTest::newRow("text in a number field") << QByteArray("1\nzwei") << "Anzahl"
                                                << "1" << 1 << QStringList{"Zeile 2", "„Anzahl“"};
        QTest::newRow("program file, not text")
            << QByteArray("ok\nELF\x02\x01x\0\0\x03", 12) << "Notiz"
            << "1" << 1 << QStringList{"Zeile 2", "„Notiz“", "Steuerzeichen 02"};
        QTest::newRow("no such date") << QByteArray("31.2.2000") << "Geburtstag"
                                      << "1" << 0 << QStringList{"Zeile 1", "„Geburtstag“"};
    }
    // Vertical tabs (line breaks inside a field for some programs), form feeds and bytes
    // Windows-1252 leaves undefined are text; only other control characters mean a
    // file that is not text.
    void textControlsAreTaken() {
        Fixture f;
        TextImport::ImportCVS(f.table,
                              f.write("a\x0B"
                                      "b\x0C\x81;x\n"),
                              map({{"Notiz", "1"}}), ";");
        QCOMPARE(f.rows({"Notiz"}), QStringList{QString::fromUtf8("a\vb\f\u0081")});
    }

    void errorStopsAtTheLine() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        QFETCH(QString, column);
        QFETCH(int, kept);
        QFETCH(QStringList, inMessage);
        Fixture f;
        QString message;
        try {
            TextImport::ImportCVS(f.table, f.write(bytes), map({{field, column}}), ";");
        } catch (const QuillonError& error) {
            message = error.message();
        }
        for (const QString& part : inMessage)
            QVERIFY2(message.contains(part), qPrintable(message));
        QCOMPARE(f.table.recordCount(), kept);
        // The store is usable and out of the import's transaction.
        QVERIFY(sqlite3_get_autocommit(f.table.connection()));
    }

    // Large imports write many records per statement; a record the store refuses midway (a
    // duplicate key) stops the import at its own line, and every line before it stays.
    void refusedRecordInLargeImport() {
        QTemporaryDir dir;
        TableDefinition definition;
        definition.addField(QStringLiteral("Kennung"), FieldKind::Text, 10, false);
        definition.addField(QStringLiteral("Selected"), FieldKind::Logical, 0, false);
        definition.addField(QStringLiteral("LetztesMail"), FieldKind::Text, 20, false);
        definition.addIndex(QStringLiteral("Kennung"), QStringLiteral("Kennung"), true);
        const QString tablePath = dir.path() + QStringLiteral("/kennungen.DB");
        Table::create(tablePath, definition);
        Table table;
        table.setTableName(tablePath);
        table.open();
        QByteArray bytes;
        for (int i = 0; i < 3000; ++i)
            bytes += "K" + QByteArray::number(i == 1500 ? 10 : i) + "\n";
        QFile file(dir.path() + QStringLiteral("/in.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QString message;
        try {
            TextImport::ImportCVS(table, file.fileName(), map({{"Kennung", "1"}}), ";");
        } catch (const QuillonError& error) {
            message = error.message();
        }
        QVERIFY2(message.contains(QStringLiteral("in Zeile 1501 abgebrochen")),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("Bereits importiert: 1500 Datensätze")),
                 qPrintable(message));
        QCOMPARE(table.recordCount(), 1500);
        QCOMPARE(table.text(QStringLiteral("Kennung")), QStringLiteral("K1499"));
        QVERIFY(sqlite3_get_autocommit(table.connection()));
    }

    // A line beyond the reader's limit stops the import there instead of filling memory.
    void overlongLineStops() {
        Fixture f;
        QByteArray bytes("a\nb\n");
        bytes += QByteArray(TextLineReader::kMaxLineBytes + 1, 'x');
        bytes += "\nc\n";
        try {
            TextImport::ImportCVS(f.table, f.write(bytes), map({{"Notiz", "1"}}), ";");
            QFAIL("no error");
        } catch (const QuillonError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("Zeile 3")),
                     qPrintable(error.message()));
        }
        QCOMPARE(f.table.recordCount(), 2);
    }

    // Large imports set the non-unique indexes aside, also when the import fails midway;
    // the table builds an index again when an order first needs it, and that order is right.
    void largeImportSetsIndexesAside() {
        Fixture f;
        QByteArray bytes;
        for (int i = 0; i < 12000; ++i)
            bytes += "N" + QByteArray::number(11999 - i) + ";Ort\n";
        bytes += "viel zu langer Name;x\n";
        bytes += "danach;x\n";
        QVERIFY_THROWS_EXCEPTION(QuillonError,
                                 TextImport::ImportCVS(f.table, f.write(bytes),
                                                       map({{"Name", "1"}, {"Ort", "2"}}), ";"));
        QCOMPARE(f.table.recordCount(), 12000);
        QCOMPARE(indexCount(f.table), 0);
        f.table.setIndexName(QStringLiteral("Name"));
        QCOMPARE(indexCount(f.table), 1);
        f.table.first();
        QCOMPARE(f.table.text(QStringLiteral("Name")), QStringLiteral("N0"));
        f.table.last();
        QCOMPARE(f.table.text(QStringLiteral("Name")), QStringLiteral("N9999"));
    }

    void tableFilesByExtension_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("table");
        QTest::newRow("DB") << "/a/b/adressen.DB" << true;
        QTest::newRow("dbf") << "adressen.dbf" << true;
        QTest::newRow("mixed case") << "adressen.Dbf" << true;
        QTest::newRow("db lower") << "x.db" << true;
        QTest::newRow("text") << "adressen.csv" << false;
        QTest::newRow("no extension") << "adressen" << false;
        QTest::newRow("db before the last dot") << "adressen.db.txt" << false;
        QTest::newRow("dot in a folder") << "/home/u/.db/adressen" << false;
    }
    void tableFilesByExtension() {
        QFETCH(QString, path);
        QFETCH(bool, table);
        QCOMPARE(TextImport::isTableFile(path), table);
    }

    void mappingFromProfileLines() {
        const QStringList profile = {
            "FELDNAME|TYP|PFLICHT|GROESSE|INDEXNAME|INDEXFELDER|PRIMAER|SORTIERBAR|ANZEIGENAME",
            "ID|ftAutoInc|False|0",
            "Selected|ftBoolean|False|0",
            "Invalid|ftBoolean|False|0",
            "LetztesMail|ftString|False|20",
            " Mail |ftString|False|80|Mail|Mail| |TRUE| E-Mail ",
            "Str|ftString|False|60"};
        const QList<MappingEntry> entries = TextImport::mappingFromProfile(profile);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].fieldName, QStringLiteral("Mail"));
        QCOMPARE(entries[0].caption, QStringLiteral("E-Mail"));
        QCOMPARE(entries[1].caption, QStringLiteral("Str"));
        QCOMPARE(entries[1].column, QStringLiteral("0"));
        QVERIFY(TextImport::mappingFromProfile(profile.mid(0, 5)).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTextImport)
#include "TestTextImport.moc"
