#include "TestSupport.h"
#include "definitions/TableCreation.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"

#include <QFileInfo>
#include <QTest>

namespace {

const QString kHeader =
    QStringLiteral("FELD|TYP|PFLICHT|GROESSE|INDEX|FELDER|PRIMAER|SORT|ANZEIGENAME");
const QString kId = QStringLiteral("ID|ftAutoInc|False|0|ID|ID|x|TRUE|Nr.");

} // namespace

class TestTableCreation : public QObject {
    Q_OBJECT
private slots:
    void shippedProfileCreatesTheBaseTable() {
        TestInstallation installation;
        RecordingDialogs dialogs;
        QVERIFY(
            CreateTableFromProfile(installation.dataDir(), QStringLiteral("database"), dialogs));
        QVERIFY(dialogs.shown.isEmpty());
        Table table;
        table.setTableName(installation.dataDir() + QStringLiteral("database.DB"));
        table.open();
        QCOMPARE(table.fieldCount(), 17);
        QCOMPARE(table.recordCount(), 0);
        QCOMPARE(table.fields().at(1).kind, FieldKind::Logical);
        table.setIndexName(QStringLiteral("Name"));
        const QByteArray log = installation.readBytes(QStringLiteral("Data/database.log"));
        QVERIFY(log.startsWith("FieldDefs.Add(ID,ftAutoInc,0,FALSE);\r\n"
                               "FieldDefs.Add(Selected,ftBoolean,0,FALSE);\r\n"));
        QVERIFY(log.contains("\r\nIndexDefs.Add(ID,ID,[ixPrimary,ixUnique]);\r\n"
                             "IndexDefs.Add(Mail,Mail,[]);\r\n"));
        QVERIFY(log.endsWith("IndexDefs.Add(Kategorie,Kategorie,[]);\r\n"));
    }

    void creationLogByteForByte() {
        TestInstallation installation;
        installation.writeFile(
            QStringLiteral("Data/t.pro"),
            {kHeader, kId, QStringLiteral("Kürzel|ftstring|true|10| | | | |Kürzel"),
             QStringLiteral("Bild|ftPicture|Ja|200| | | | | "),
             QStringLiteral("Nr2|ftInteger|TRUE|70000|Nr2|Nr2;ID|FALSE|TRUE|Nummer"),
             QStringLiteral("Ort|ftString|False|40"),
             QStringLiteral("Spalte1| ftString   | False      |60     | Spalte1 | Spalte1    |     "
                            "                | TRUE        | Gewinnspielfrage")});
        RecordingDialogs dialogs;
        // Two primary indexes ("x" and "FALSE" are both non-empty): the store refuses.
        QVERIFY(!CreateTableFromProfile(installation.dataDir(), QStringLiteral("t"), dialogs));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Database not created!")});
        QCOMPARE(dialogs.shown.first().kind, UserDialogs::Kind::Error);
        QVERIFY(!QFileInfo::exists(installation.dataDir() + QStringLiteral("t.DB")));
        QCOMPARE(installation.readBytes(QStringLiteral("Data/t.log")),
                 QByteArray("FieldDefs.Add(ID,ftAutoInc,0,FALSE);\r\n"
                            "FieldDefs.Add(K\xFCrzel,ftstring,10,TRUE);\r\n"
                            "FieldDefs.Add(Bild,ftPicture,200,JA);\r\n"
                            "FieldDefs.Add(Nr2,ftInteger,4464,TRUE);\r\n"
                            "FieldDefs.Add(Ort,ftString,40,FALSE);\r\n"
                            "FieldDefs.Add(Spalte1,ftString,60,FALSE);\r\n"
                            "IndexDefs.Add(ID,ID,[ixPrimary,ixUnique]);\r\n"
                            "IndexDefs.Add(Nr2,Nr2;ID,[ixPrimary,ixUnique]);\r\n"
                            "IndexDefs.Add(Spalte1,Spalte1,[]);\r\n"));
    }

    void definitionsFollowTheProfile() {
        TestInstallation installation;
        installation.writeFile(
            QStringLiteral("Data/t.pro"),
            {kHeader, kId, QStringLiteral("klein|ftstring|False|10"),
             QStringLiteral("Bild|ftPicture|False|200"), QStringLiteral("A|ftString|True|5"),
             QStringLiteral("B|ftString|true|5"), QStringLiteral("C|ftString|Ja|5"),
             QStringLiteral("Anzahl|ftInteger|False|70000|Anzahl|Anzahl| |TRUE"),
             QStringLiteral("Summe|ftCurrency|False|0"), QStringLiteral("Notiz|ftMemo|False|240")});
        RecordingDialogs dialogs;
        QVERIFY(CreateTableFromProfile(installation.dataDir(), QStringLiteral("t"), dialogs));
        Table table;
        table.setTableName(installation.dataDir() + QStringLiteral("t.DB"));
        table.open();
        QStringList names;
        for (const FieldDef& field : table.fields())
            names.append(field.name);
        QCOMPARE(names, (QStringList{"ID", "Bild", "A", "B", "C", "Anzahl", "Summe", "Notiz"}));
        QCOMPARE(table.fields().at(1).kind, FieldKind::Picture);
        QCOMPARE(table.fields().at(1).size, 2);
        QVERIFY(table.fields().at(2).required);
        QVERIFY(table.fields().at(3).required);
        QVERIFY(!table.fields().at(4).required);
        QCOMPARE(table.indexes().size(), 2);
        table.setIndexName(QStringLiteral("Anzahl"));
    }

    void emptyColumnShiftsTheLine() {
        TestInstallation installation;
        // The empty required flag lets "20" be read as the flag and the index name as size.
        installation.writeFile(QStringLiteral("Data/t.pro"),
                               {kHeader, kId, QStringLiteral("Feld|ftString||20|Feld|Feld")});
        RecordingDialogs dialogs;
        QVERIFY_THROWS_EXCEPTION(
            QuillonError,
            CreateTableFromProfile(installation.dataDir(), QStringLiteral("t"), dialogs));
    }

    void errorsBeforeCreationWriteNothing_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        QTest::newRow("size not a number")
            << QStringList{kHeader, kId, "Name|ftString|False|lang"} << "„lang“";
        QTest::newRow("size missing") << QStringList{kHeader, kId, "Name|ftString|False"} << "„“";
        QTest::newRow("blank line after the header") << QStringList{kHeader, "", kId} << "Zeile 1";
        QTest::newRow("blank last line") << QStringList{kHeader, kId, ""} << "Zeile 2";
        QTest::newRow("size not a number on an unknown type")
            << QStringList{kHeader, kId, "X|ftBlob|False|x"} << "„x“";
        QTest::newRow("repeated field name ignoring case")
            << QStringList{kHeader, kId, "Name|ftString|False|5", "NAME|ftString|False|5"}
            << "NAME";
        QTest::newRow("repeated index name")
            << QStringList{kHeader, kId, "A|ftString|False|5|ix|A", "B|ftString|False|5|IX|B"}
            << "IX";
    }
    void errorsBeforeCreationWriteNothing() {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        TestInstallation installation;
        installation.writeFile(QStringLiteral("Data/t.pro"), lines);
        RecordingDialogs dialogs;
        try {
            CreateTableFromProfile(installation.dataDir(), QStringLiteral("t"), dialogs);
            QFAIL("no error");
        } catch (const QuillonError& error) {
            QVERIFY2(error.message().contains(message), qPrintable(error.message()));
        }
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(!QFileInfo::exists(installation.dataDir() + QStringLiteral("t.log")));
        QVERIFY(!QFileInfo::exists(installation.dataDir() + QStringLiteral("t.DB")));
    }

    void refusalsAtCreation_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("header only") << QStringList{kHeader};
        QTest::newRow("index over an undefined field")
            << QStringList{kHeader, kId, "Name|ftstring|False|5|Name|Name"};
        QTest::newRow("text of size 0") << QStringList{kHeader, kId, "Name|ftString|False|0"};
        QTest::newRow("secondary index without primary")
            << QStringList{kHeader, "Name|ftString|False|5|Name|Name| |TRUE"};
    }
    void refusalsAtCreation() {
        QFETCH(QStringList, lines);
        TestInstallation installation;
        installation.writeFile(QStringLiteral("Data/t.pro"), lines);
        RecordingDialogs dialogs;
        QVERIFY(!CreateTableFromProfile(installation.dataDir(), QStringLiteral("t"), dialogs));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Database not created!")});
        QVERIFY(QFileInfo::exists(installation.dataDir() + QStringLiteral("t.log")));
        QVERIFY(!QFileInfo::exists(installation.dataDir() + QStringLiteral("t.DB")));
    }

    void missingProfileGoesToTheCaller() {
        TestInstallation installation;
        RecordingDialogs dialogs;
        QVERIFY_THROWS_EXCEPTION(
            QuillonError,
            CreateTableFromProfile(installation.dataDir(), QStringLiteral("fehlt"), dialogs));
        QVERIFY(!QFileInfo::exists(installation.dataDir() + QStringLiteral("fehlt.log")));
    }
};

QTEST_GUILESS_MAIN(TestTableCreation)
#include "TestTableCreation.moc"
