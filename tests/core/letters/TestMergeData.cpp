#include "TestSupport.h"
#include "definitions/DatabaseSession.h"
#include "foundations/ProductConfig.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "letters/MergeData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

// A table of its own fields: the first five are ID, Selected and three texts, as in every
// database; the profile names the same fields.
struct OwnTable {
    TestInstallation installation;
    RecordingDialogs dialogs;
    Folders folders;
    Table table;
    QStringList profile;

    explicit OwnTable(const QStringList& extraFields)
        : folders(Folders::forProgramDir(installation.programDir(), installation.lettersDir())) {
        TableDefinition definition;
        definition.addField(QStringLiteral("ID"), FieldKind::AutoInc, 0, false);
        definition.addField(QStringLiteral("Selected"), FieldKind::Logical, 0, false);
        definition.addField(QStringLiteral("Invalid"), FieldKind::Logical, 0, false);
        definition.addField(QStringLiteral("LetztesMail"), FieldKind::Text, 20, false);
        definition.addField(QStringLiteral("Mail"), FieldKind::Text, 80, false);
        for (const QString& name : extraFields)
            definition.addField(name, FieldKind::Text, 60, false);
        definition.addIndex(QStringLiteral("ID"), QStringLiteral("ID"), true);
        const QString path = installation.dataDir() + QStringLiteral("own.DB");
        Table::create(path, definition);
        table.setTableName(path);
        table.open();
        profile = QStringList{QStringLiteral("FELDNAME|TYP")};
        for (const FieldDef& field : definition.fields())
            profile.append(field.name + QStringLiteral("|ftString"));
    }
    void add(bool marked, const QStringList& values) {
        table.append();
        table.setText(1, marked ? QStringLiteral("Wahr") : QStringLiteral("Falsch"));
        for (int i = 0; i < values.size(); ++i)
            table.setText(5 + i, values[i]);
        table.post();
    }
    bool write() { return WriteSerienbriefFile(table, profile, folders, dialogs); }
    QByteArray file() const {
        return installation.readBytes(QStringLiteral("MyLetters/Serienbrief.txt"));
    }
};

} // namespace

class TestMergeData : public QObject {
    Q_OBJECT
private slots:
    void shippedDatabaseByteForByte() {
        TestInstallation installation;
        RecordingDialogs dialogs;
        const Folders folders =
            Folders::forProgramDir(installation.programDir(), installation.lettersDir());
        DatabaseSession session(folders, dialogs);
        session.open(QStringLiteral("Database.ini"));
        Table& table = *session.activeTable();
        const auto add = [&](bool marked, const QString& anrede, const QString& name,
                             const QString& ort) {
            table.append();
            table.setText(QStringLiteral("Selected"), marked ? "Wahr" : "Falsch");
            table.setText(QStringLiteral("Anrede"), anrede);
            table.setText(QStringLiteral("Name"), name);
            table.setText(QStringLiteral("Ort"), ort);
            table.setText(QStringLiteral("Mail"), QStringLiteral("nie@im.file"));
            table.post();
        };
        add(true, "Herr", "Müller", "Köln");
        add(false, "Frau", "Ungewählt", "Bonn");
        add(true, "Professor", "Zeh|Ab\r\nC", "");
        QVERIFY(WriteSerienbriefFile(table, session.profileLines(), folders, dialogs));
        QCOMPARE(installation.readBytes(QStringLiteral("MyLetters/Serienbrief.txt")),
                 QByteArray("Anrede|Betreff|Name|Vorname|Ansprechpartner|Str|PLZ|Ort|Land|Tel|"
                            "Fax|Kategorie|\r\n"
                            "Sehr geehrter Herr | |M\xFCller | | | | |K\xF6ln | | | | |\r\n"
                            "Professor | |Zeh|Ab\r\nC | | | | | | | | | |\r\n"));
        QVERIFY(dialogs.shown.isEmpty());
    }

    void salutationFieldByName_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Anrede") << QStringList{"Anrede", "Name"} << QStringList{"Frau", "Meier"}
                                << QByteArray("Anrede|Name|\r\nSehr geehrte Frau |Meier |\r\n");
        QTest::newRow("ANREDE") << QStringList{"ANREDE", "Name"} << QStringList{"Frau", "Meier"}
                                << QByteArray("ANREDE|Name|\r\nSehr geehrte Frau |Meier |\r\n");
        QTest::newRow("anrede, not first")
            << QStringList{"Name", "anrede"} << QStringList{"Frau", "Frau"}
            << QByteArray("Name|anrede|\r\nFrau |Sehr geehrte Frau |\r\n");
        QTest::newRow("Anrede2 is not replaced")
            << QStringList{"Anrede2", "Name"} << QStringList{"Frau", "Meier"}
            << QByteArray("Anrede2|Name|\r\nFrau |Meier |\r\n");
        QTest::newRow("five fields: empty header and empty record line")
            << QStringList{} << QStringList{} << QByteArray("\r\n\r\n");
    }
    void salutationFieldByName() {
        QFETCH(QStringList, fields);
        QFETCH(QStringList, values);
        QFETCH(QByteArray, expected);
        OwnTable own(fields);
        own.add(true, values);
        own.add(false, values);
        QVERIFY(own.write());
        QCOMPARE(own.file(), expected);
    }

    void tableEndsUnfilteredOnFirstRecordInItsOrder() {
        OwnTable own({QStringLiteral("Anrede"), QStringLiteral("Name")});
        own.add(true, {"", "B"});
        own.add(false, {"", "X"});
        own.add(true, {"", "A"});
        own.table.setFilter(QStringLiteral("Name='X'"));
        own.table.setFiltered(true);
        own.table.last();
        QVERIFY(own.write());
        QCOMPARE(own.file(), QByteArray("Anrede|Name|\r\n |B |\r\n |A |\r\n"));
        QVERIFY(!own.table.filtered());
        QCOMPARE(own.table.filter(), QStringLiteral("Selected='True'"));
        QCOMPARE(own.table.recordCount(), 3);
        QCOMPARE(own.table.recNo(), 0);
        QVERIFY(!own.table.controlsDisabled());
    }

    void fileThatCannotBeWrittenKeepsItsContent() {
        OwnTable own({QStringLiteral("Name")});
        own.add(true, {"Neu"});
        own.installation.writeFile(QStringLiteral("MyLetters/Serienbrief.txt"), {"alt"});
        // Whatever the user's rights: the letters folder cannot be written into.
        QFile::setPermissions(own.installation.lettersDir(), QFile::ReadOwner | QFile::ExeOwner);
        const bool written = own.write();
        const bool rootIgnoresRights = QFileInfo(own.installation.lettersDir()).isWritable();
        QFile::setPermissions(own.installation.lettersDir(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (rootIgnoresRights)
            QSKIP("permissions do not hold for this user");
        QVERIFY(!written);
        QCOMPARE(own.dialogs.texts(), QStringList{MergeDataFile::cannotWriteMessage()});
        QCOMPARE(own.dialogs.shown.first().kind, UserDialogs::Kind::Error);
        QCOMPARE(own.file(), QByteArray("alt\r\n"));
        QVERIFY(!own.table.filtered());
    }

    void fileInTheWayIsReported() {
        // A folder of that name stands for a file that cannot be replaced at all.
        OwnTable own({QStringLiteral("Name")});
        own.add(true, {"Neu"});
        QVERIFY(QDir().mkpath(own.installation.lettersDir() + QStringLiteral("Serienbrief.txt")));
        QVERIFY(!own.write());
        QCOMPARE(own.dialogs.texts(), QStringList{MergeDataFile::cannotWriteMessage()});
    }

    void missingSalutationFileStopsBeforeWriting() {
        OwnTable own({QStringLiteral("Anrede")});
        own.add(true, {"Herr"});
        QFile::remove(own.installation.programDir() + QStringLiteral("Grussformel.txt"));
        QVERIFY_THROWS_EXCEPTION(QuillonError, own.write());
        QVERIFY(own.file().isEmpty());
        QVERIFY(!own.table.filtered());
        QVERIFY(!own.table.controlsDisabled());
    }
};

QTEST_GUILESS_MAIN(TestMergeData)
#include "TestMergeData.moc"
