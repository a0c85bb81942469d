#include "TestSupport.h"
#include "definitions/Descriptors.h"
#include "definitions/GridLayout.h"
#include "foundations/QuillonError.h"
#include "foundations/TextFile.h"
#include "foundations/TextHelpers.h"

#include <QFile>
#include <QTest>

class TestDescriptors : public QObject {
    Q_OBJECT
private slots:
    void profileLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("columns"); // name,type,index,fields,caption
        QTest::addColumn<bool>("required");
        QTest::addColumn<bool>("sortable");
        QTest::newRow("full line")
            << "Name |ftString|True|60|Name|Name;Vorname| |TRUE|Nachname"
            << QStringList{"Name", "ftString", "Name", "Name;Vorname", "Nachname"} << true << true;
        QTest::newRow("empty column moves the rest left")
            << "Feld|ftString|False|20||Feld" << QStringList{"Feld", "ftString", "Feld", "", "Feld"}
            << false << false;
        QTest::newRow("eight columns show the field name")
            << "Ort|ftString|false|40|Ort|Ort| |true"
            << QStringList{"Ort", "ftString", "Ort", "Ort", "Ort"} << false << true;
        QTest::newRow("required in lower case")
            << "X|ftString|true|1" << QStringList{"X", "ftString", "", "", "X"} << true << false;
    }
    void profileLines() {
        QFETCH(QString, line);
        QFETCH(QStringList, columns);
        QFETCH(bool, required);
        QFETCH(bool, sortable);
        const ProfileField field = ProfileField::fromLine(line);
        QCOMPARE((QStringList{field.name, field.typeName, field.indexName, field.indexFields,
                              field.caption()}),
                 columns);
        QCOMPARE(field.isRequired(), required);
        QCOMPARE(field.isSortable(), sortable);
    }

    void shippedProfileHoldsTheStandardFields() {
        const QStringList lines =
            TextFile::readLines(QStringLiteral(QUILLON_SHIPPED_DIR "/Data/database.pro"));
        QVERIFY(Profile::hasDisplayNames(lines));
        const QStringList standard{
            "ID",   "Selected", "Invalid",         "LetztesMail", "Mail", "Anrede", "Betreff",
            "Name", "Vorname",  "Ansprechpartner", "Str",         "PLZ",  "Ort",    "Land",
            "Tel",  "Fax",      "Kategorie"};
        const QList<ProfileField> fields = Profile::fields(lines);
        QCOMPARE(fields.size(), standard.size());
        for (int i = 0; i < fields.size(); ++i) {
            QCOMPARE(fields[i].name, standard[i]);
            // Every column holds a character, so no column shifts.
            QCOMPARE(CountWords(lines[i + 1], QStringLiteral("|")), 9);
            if (fields[i].isSortable())
                QVERIFY2(!fields[i].indexName.isEmpty(), qPrintable(fields[i].name));
        }
        QCOMPARE(fields[0].typeName, QStringLiteral("ftAutoInc"));
        QVERIFY(fields[0].isPrimary());
        QCOMPARE(fields[1].typeName, QStringLiteral("ftBoolean"));
        QCOMPARE(Profile::lineOfField(lines, QStringLiteral("Mail")), 5);
        QCOMPARE(Profile::lineOfField(lines, QStringLiteral("mail")), -1);

        const QStringList catalogue =
            TextFile::readLines(QStringLiteral(QUILLON_SHIPPED_DIR "/Buttons.ini"));
        QVERIFY(!AsciiUpper(catalogue.first()).contains(QStringLiteral(".INI")));
        QCOMPARE(Catalogue::tableListName(catalogue[1]), QStringLiteral("Database.ini"));
        const QStringList presets =
            TextFile::readLines(QStringLiteral(QUILLON_SHIPPED_DIR "/Data/database.fil"));
        QCOMPARE(FilterPresets::expression(presets, 1), QString());
    }

    void catalogueLookup_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("tableList");
        QTest::addColumn<int>("line");
        const QStringList base{"Kopf", "Adressen| cddrive.bmp|Database.ini"};
        QTest::newRow("base") << base << "Database.ini" << 1;
        QTest::newRow("ignores case")
            << (base + QStringList{"Lieferanten| cddrive.bmp|lieferanten.ini"}) << "LIEFERANTEN.INI"
            << 2;
        QTest::newRow("contained name finds the later line")
            << (base + QStringList{"Alt| cddrive.bmp|OldDatabase.ini"}) << "Database.ini" << 2;
        QTest::newRow("none matches keeps line 1") << base << "x.ini" << 1;
    }
    void catalogueLookup() {
        QFETCH(QStringList, lines);
        QFETCH(QString, tableList);
        QFETCH(int, line);
        QCOMPARE(Catalogue::entryLineFor(lines, tableList), line);
    }

    void catalogueAndTableList() {
        QCOMPARE(Catalogue::entryLine(QStringLiteral("Lieferanten"), QStringLiteral("lieferanten")),
                 QStringLiteral("Lieferanten| cddrive.bmp|lieferanten.ini"));
        QVERIFY(!Catalogue::offersDatabaseCommands({QStringLiteral("h"), QStringLiteral("a")}));
        QVERIFY(Catalogue::offersDatabaseCommands(
            {QStringLiteral("h"), QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(TableList::linesFor(QStringLiteral("kunden")),
                 (QStringList{"TABLE        TABELNAME", "Table1      |kunden"}));
        const QStringList bad{QStringLiteral("TABLE        TABELNAME"),
                              QStringLiteral("Table1|../../etc/x")};
        QVERIFY_THROWS_EXCEPTION(QuillonError,
                                 TableList::tableName(bad, 1, QStringLiteral("x.ini")));
        QVERIFY_THROWS_EXCEPTION(
            QuillonError, TableList::tableName({QStringLiteral("h"), QStringLiteral("Table1")}, 1,
                                               QStringLiteral("x.ini")));
    }

    void choiceLists_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("choices");
        QTest::newRow("empty choice dropped")
            << "Herr;Frau;;Firma" << QStringList{"Herr", "Frau", "Firma"};
        QTest::newRow("values only") << "1=Kunde;2=Lieferant" << QStringList{"1", "2"};
        QTest::newRow("trimmed") << " a ; b = x ;c" << QStringList{"a", "b", "c"};
        QTest::newRow("single") << "Deutschland" << QStringList{"Deutschland"};
    }
    void choiceLists() {
        QFETCH(QString, list);
        QFETCH(QStringList, choices);
        const QStringList lines{QStringLiteral("Kopf"), QStringLiteral("Anrede|") + list};
        QCOMPARE(ChoiceLists::choicesFor(lines, QStringLiteral("Anrede")), choices);
        QVERIFY(ChoiceLists::choicesFor(lines, QStringLiteral("anrede")).isEmpty());
    }

    void lastChoiceLineCounts() {
        const QStringList lines{QStringLiteral("Kopf"), QStringLiteral("Land|A;B"),
                                QStringLiteral("Land|C")};
        QCOMPARE(ChoiceLists::choicesFor(lines, QStringLiteral("Land")),
                 QStringList{QStringLiteral("C")});
    }

    void presets() {
        const QStringList lines{QStringLiteral("Kopf"), QStringLiteral("Alle|"),
                                QStringLiteral(" Markiert | Selected='True' ")};
        QCOMPARE(FilterPresets::labels(lines), (QStringList{"Alle", "Markiert"}));
        QCOMPARE(FilterPresets::expression(lines, 1), QString());
        QCOMPARE(FilterPresets::expression(lines, 2), QStringLiteral("Selected='True'"));
    }

    void nameDerivations() {
        const QString data = QStringLiteral("/home/u/.local/q/Data/");
        QCOMPARE(DescriptorPaths::layoutFile(data, QStringLiteral("Database.ini")),
                 data + "Database.grd");
        QCOMPARE(DescriptorPaths::tableFile(data, QStringLiteral("database")),
                 data + "database.DB");
        QCOMPARE(DescriptorPaths::profileForTableFile(data + "kunden.DB"), data + "kunden.pro");
        QCOMPARE(DescriptorPaths::layoutForTableFile(data + "kunden.DB"), data + "kunden.grd");
        QCOMPARE(DescriptorPaths::tableListForTableFile(data + "kunden.DB"),
                 QStringLiteral("kunden.ini"));
        QCOMPARE(DescriptorPaths::tableFileForTableList(data, QStringLiteral("kunden.ini")),
                 data + "kunden.db");
        QCOMPARE(DescriptorPaths::profileForTableList(data, QStringLiteral("Database.ini")),
                 data + "Database.pro");
    }

    void gridLayoutRoundTrip() {
        TestInstallation installation;
        const QString path = installation.dataDir() + QStringLiteral("Database.grd");
        const QList<GridColumn> columns{
            {QStringLiteral("Name"), 120, QStringLiteral("Nachname"), true},
            {QStringLiteral("ID"), 40, QStringLiteral("Nr.; laufend"), false}};
        GridLayout::write(path, columns);
        QList<GridColumn> read;
        QVERIFY(GridLayout::read(path, &read));
        QCOMPARE(read, columns);
    }

    void gridLayoutHundredByteRule() {
        TestInstallation installation;
        const QString path = installation.dataDir() + QStringLiteral("x.grd");
        GridLayout::write(path, {});
        QList<GridColumn> read{{QStringLiteral("keep"), 1, QString(), true}};
        QVERIFY(QFile(path).size() <= 100);
        QVERIFY(!GridLayout::read(path, &read));
        QCOMPARE(read.size(), 1);

        GridLayout::write(path, {{QStringLiteral("A"), 1, QString(), true}});
        QVERIFY(QFile(path).size() > 100);
        QVERIFY(GridLayout::read(path, &read));

        // Exactly 100 bytes of a valid file is ignored, 101 is loaded.
        QByteArray bytes = "[Quillon Rasterlayout]\r\nColumn=Name;80;1;";
        const QByteArray padded = bytes + QByteArray(100 - bytes.size() - 2, 'x') + "\r\n";
        QCOMPARE(padded.size(), 100);
        TextFile::writeBytes(path, padded);
        QVERIFY(!GridLayout::read(path, &read));
        TextFile::writeBytes(path, bytes + QByteArray(100 - bytes.size() - 1, 'x') + "\r\n");
        QVERIFY(GridLayout::read(path, &read));
        QCOMPARE(read.first().fieldName, QStringLiteral("Name"));
    }

    void damagedGridLayoutIsIgnored_data() {
        QTest::addColumn<QByteArray>("content");
        const QByteArray head = "[Quillon Rasterlayout]\r\n; " + QByteArray(80, '-') + "\r\n";
        QTest::newRow("other format") << QByteArray(200, 'z');
        QTest::newRow("width not a number") << head + "Column=Name;breit;1;Name\r\n";
        QTest::newRow("too few parts") << head + "Column=Name;80\r\n";
        QTest::newRow("unknown line") << head + "Spalte=Name;80;1;x\r\n";
        QTest::newRow("binary") << head + QByteArray("\x00\x01\x02", 3) + QByteArray(50, '\xff');
    }
    void damagedGridLayoutIsIgnored() {
        QFETCH(QByteArray, content);
        TestInstallation installation;
        const QString path = installation.dataDir() + QStringLiteral("x.grd");
        TextFile::writeBytes(path, content);
        QList<GridColumn> read;
        QVERIFY(!GridLayout::read(path, &read));
        QVERIFY(read.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDescriptors)
#include "TestDescriptors.moc"
