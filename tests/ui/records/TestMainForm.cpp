#include "RecordGrid.h"
#include "RecordGridModel.h"
#include "TestSupport.h"
#include "foundations/FileNames.h"
#include "foundations/Shell.h"
#include "foundations/StoreLock.h"
#include "foundations/Table.h"
#include "records/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

struct Fixture {
    TestInstallation installation;
    RecordingDialogs dialogs;
    RecordingShell shell;

    std::unique_ptr<TMainForm> start(const QString& program = QStringLiteral("quillon")) {
        const Folders folders =
            Folders::forProgramDir(installation.programDir(), installation.lettersDir());
        return std::make_unique<TMainForm>(ProductConfig::fromProgramName(program), folders,
                                           dialogs, shell);
    }
};

void addRecords(Table& table, const QList<QStringList>& rows) {
    for (const QStringList& row : rows) {
        table.append();
        table.setText(QStringLiteral("Name"), row[0]);
        table.setText(QStringLiteral("Mail"), row[1]);
        table.setText(QStringLiteral("Selected"), row[2]);
        table.post();
    }
}

QString countText(TMainForm& form) {
    return form.findChild<QLabel*>(QStringLiteral("StatusPanel"))->text();
}

int columnOf(TMainForm& form, const QString& field) {
    const auto& columns = form.gridModel()->columns();
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].fieldName == field)
            return i;
    return -1;
}

void selectCell(TMainForm& form, int row, const QString& field) {
    form.grid()->setCurrentIndex(form.gridModel()->index(row, columnOf(form, field)));
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void startsInTheEditionOfItsName_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("databasePanel");
        QTest::newRow("serial letters") << "/opt/q/quillon"
                                        << "Quillon Serienbrief" << false;
        QTest::newRow("database") << "/opt/q/Quillon_DB"
                                  << "Quillon Datenbank" << true;
    }
    void startsInTheEditionOfItsName() {
        QFETCH(QString, program);
        QFETCH(QString, title);
        QFETCH(bool, databasePanel);
        Fixture f;
        auto form = f.start(program);
        QCOMPARE(form->windowTitle(), title);
        QCOMPARE(form->findChild<QWidget*>(QStringLiteral("DBBottomButtonsPanel"))->isHidden(),
                 !databasePanel);
        QCOMPARE(form->findChild<QWidget*>(QStringLiteral("SBBottomButtonsPanel"))->isHidden(),
                 databasePanel);
        QVERIFY(f.dialogs.shown.isEmpty());
        // The missing table was created from its profile.
        QVERIFY(QFileInfo::exists(f.installation.dataDir() + QStringLiteral("database.DB")));
        QCOMPARE(countText(*form), QStringLiteral("0 Datensätze"));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("DatabaseLabel"))->text(),
                 QStringLiteral("Geöffnete Datenbank: Adressen"));
        QCOMPARE(form->CurrentTableList(), QStringLiteral("Database.ini"));
        QCOMPARE(form->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->currentText(),
                 QStringLiteral("Alle Adressen"));
        // One catalogue entry: no opening, deleting or transferring of databases.
        QVERIFY(form->findChild<QPushButton*>(QStringLiteral("OpenModeBitBtn"))->isHidden());
        QVERIFY(!form->findChild<QAction*>(QStringLiteral("Datenbankffnen2"))->isEnabled());
        QVERIFY(!form->findChild<QAction*>(QStringLiteral("Datentransfer1"))->isEnabled());
        QCOMPARE(form->findChild<QAction*>(QStringLiteral("SerienBriefschreiben1"))->shortcut(),
                 QKeySequence(Qt::Key_F2));
        QCOMPARE(form->findChild<QAction*>(QStringLiteral("Beenden1"))->shortcut(),
                 QKeySequence(Qt::ALT | Qt::Key_X));
    }

    void databaseCommandsOfferedWithSeveralDatabases() {
        Fixture f;
        f.installation.writeFile(QStringLiteral("Buttons.ini"),
                                 {QStringLiteral("Kopf"),
                                  QStringLiteral("Adressen| cddrive.bmp|Database.ini"),
                                  QStringLiteral("Lieferanten| cddrive.bmp|lieferanten.ini")});
        auto form = f.start();
        QVERIFY(!form->findChild<QPushButton*>(QStringLiteral("OpenModeBitBtn"))->isHidden());
    }

    void refusesWhileTheDatabasesAreInUse() {
        Fixture f;
        QProcess holder;
        const QString lock = f.installation.dataDir() + StoreLock::lockFileName();
        holder.start(QStringLiteral("sh"),
                     {"-c", "exec 9>\"$0\"; flock -s 9; exec sleep 30", lock});
        QVERIFY(holder.waitForStarted());
        QTRY_VERIFY(StoreLock::isHeld(lock));
        auto form = f.start();
        holder.kill();
        holder.waitForFinished();
        QVERIFY(form->refusedToStart());
        QVERIFY(!form->ActiveTable());
        QCOMPARE(f.dialogs.texts(),
                 QStringList{QStringLiteral(
                     "Datenbank ist in Benutzung durch einen andern Benutzer!\n\nBitte "
                     "warten Sie bis der andere Benutzer die Datenbank wieder geschlossen hat!")});
    }

    void tableListWithoutTableLine() {
        Fixture f;
        f.installation.writeFile(QStringLiteral("Data/Database.ini"),
                                 {QStringLiteral("TABLE        TABELNAME")});
        auto form = f.start();
        QVERIFY(!form->ActiveTable());
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("DatabaseLabel"))->text(),
                 QStringLiteral("Geöffnete Datenbank: Adressen"));
        form->MailBitBtnClick();
        form->OutlookEMailBitBtnClick();
        QCOMPARE(f.dialogs.texts(), QStringList(2, QStringLiteral("Zuerst Datenbank öffnen!")));
    }

    void markingByDoubleClickAndSpace() {
        Fixture f;
        auto form = f.start();
        addRecords(*form->ActiveTable(),
                   {{"Meier", "A@X.de", "Falsch"}, {"Adler", "b@x.de", "Wahr"}});
        selectCell(*form, 0, QStringLiteral("Selected"));
        form->DBGrid1DblClick();
        form->ActiveTable()->moveTo(0);
        QCOMPARE(form->ActiveTable()->text(QStringLiteral("Selected")), QStringLiteral("Wahr"));
        QCOMPARE(countText(*form), QStringLiteral("2 Datensätze"));
        selectCell(*form, 1, QStringLiteral("Selected"));
        QTest::keyClick(form->grid(), Qt::Key_Space);
        form->ActiveTable()->moveTo(1);
        QCOMPARE(form->ActiveTable()->text(QStringLiteral("Selected")), QStringLiteral("Falsch"));

        // Any other cell opens the editor.
        int edits = 0;
        form->setCommand(QStringLiteral("EditRecord"), [&] { ++edits; });
        selectCell(*form, 0, QStringLiteral("Name"));
        form->DBGrid1DblClick();
        QCOMPARE(edits, 1);
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void sortingByTitleTwice() {
        Fixture f;
        auto form = f.start();
        addRecords(*form->ActiveTable(),
                   {{"Meier", "", "Falsch"}, {"adler", "", "Falsch"}, {"Zander", "", "Falsch"}});
        const int name = columnOf(*form, QStringLiteral("Name"));
        form->DBGrid1TitleClick(name);
        QCOMPARE(form->ActiveTable()->indexName(), QStringLiteral("Name"));
        QVERIFY(form->gridModel()->isHighlighted(name));
        QCOMPARE(
            form->gridModel()->headerData(name, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(),
            QColor(Qt::red));
        QCOMPARE(form->gridModel()->index(0, name).data().toString(), QStringLiteral("adler"));
        form->DBGrid1TitleClick(name);
        QCOMPARE(form->ActiveTable()->indexName(), QString());
        QVERIFY(!form->gridModel()->isHighlighted(name));
        QCOMPARE(form->gridModel()->index(0, name).data().toString(), QStringLiteral("Meier"));
        // Not sortable: nothing changes.
        form->DBGrid1TitleClick(columnOf(*form, QStringLiteral("Tel")));
        QCOMPARE(form->ActiveTable()->indexName(), QString());
    }

    void presetsAndCounts() {
        Fixture f;
        f.installation.writeFile(QStringLiteral("Data/database.fil"),
                                 {QStringLiteral("Kopf"), QStringLiteral("Alle|"),
                                  QStringLiteral("Markiert|Selected='True'"),
                                  QStringLiteral("Kaputt|Name = 'x")});
        auto form = f.start();
        addRecords(*form->ActiveTable(),
                   {{"Meier", "", "Wahr"}, {"Adler", "", "Falsch"}, {"Zander", "", "Wahr"}});
        form->ComboBox1Change(1);
        QCOMPARE(countText(*form), QStringLiteral("2 Datensätze"));
        QCOMPARE(form->gridModel()->rowCount(), 2);
        form->ComboBox1Change(0);
        QCOMPARE(countText(*form), QStringLiteral("3 Datensätze"));
        form->ComboBox1Change(2);
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().kind, UserDialogs::Kind::Error);
        QVERIFY(f.dialogs.shown.first().text.contains(QStringLiteral("Filterausdruck")));
    }

    void serialLetterCountsTheMarked() {
        Fixture f;
        auto form = f.start();
        addRecords(*form->ActiveTable(), {{"Meier", "", "Falsch"}});
        form->MailBitBtnClick();
        QCOMPARE(f.dialogs.texts(),
                 QStringList{QStringLiteral(
                     "Keine Datensätze zum versenden markiert! \nKlicken Sie doppelt auf "
                     "die Spalte \"Selected\" um Datensätze zu markieren!")});
        QVERIFY(!form->ActiveTable()->filtered());
        addRecords(*form->ActiveTable(), {{"Adler", "", "Wahr"}, {"Zander", "", "Wahr"}});
        int wizard = 0;
        form->setCommand(QStringLiteral("LetterWizard"), [&] { ++wizard; });
        form->MailBitBtnClick();
        QCOMPARE(form->MarkedCount(), 2);
        QCOMPARE(wizard, 1);
        QVERIFY(!form->ActiveTable()->filtered());
    }

    void mailProgramHelpAndUpdate() {
        Fixture f;
        auto form = f.start();
        addRecords(*form->ActiveTable(), {{"Meier", "Anna.Meier@Example.DE", "Falsch"}});
        form->OutlookEMailBitBtnClick();
        QCOMPARE(f.shell.opened.last(), QStringLiteral("mailto:anna.meier@example.de"));
        form->Hilfedatei1Click();
        QCOMPARE(f.shell.opened.last(),
                 f.installation.programDir() + QStringLiteral("helpSB/help.html"));
        QVERIFY(f.dialogs.shown.isEmpty());
        f.shell.succeed = false;
        form->Hilfedatei1Click();
        form->OutlookEMailBitBtnClick();
        form->Update1Click();
        QCOMPARE(f.dialogs.texts(), (QStringList{"Unable to start internet browser! Make sure you "
                                                 "have it properly set-up on your system!",
                                                 "Unable to start mail client. Make sure you have "
                                                 "it properly set-up on your system.",
                                                 "Unable to start mail client. Make sure you have "
                                                 "it properly set-up on your system."}));
    }

    void deleteWithCtrlDel() {
        Fixture f;
        auto form = f.start();
        addRecords(*form->ActiveTable(), {{"Meier", "", "Falsch"}, {"Adler", "", "Falsch"}});
        selectCell(*form, 0, QStringLiteral("Name"));
        f.dialogs.answers = {UserDialogs::Answer::Cancel, UserDialogs::Answer::Ok};
        QTest::keyClick(form->grid(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(form->ActiveTable()->recordCount(), 2);
        QTest::keyClick(form->grid(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(form->ActiveTable()->recordCount(), 1);
        QCOMPARE(f.dialogs.texts(), QStringList(2, QStringLiteral("Datensatz löschen?")));
    }

    void layoutSurvivesARestart() {
        Fixture f;
        {
            auto form = f.start();
            QHeaderView* header = form->grid()->horizontalHeader();
            const int name = columnOf(*form, QStringLiteral("Name"));
            header->moveSection(header->visualIndex(name), 0);
            header->resizeSection(name, 211);
            form->close();
        }
        QVERIFY(QFileInfo::exists(f.installation.dataDir() + QStringLiteral("Database.grd")));
        auto form = f.start();
        QHeaderView* header = form->grid()->horizontalHeader();
        const int first = header->logicalIndex(0);
        QCOMPARE(form->gridModel()->columns()[first].fieldName, QStringLiteral("Name"));
        QCOMPARE(header->sectionSize(first), 211);
        QCOMPARE(form->gridModel()->columns()[first].title, QStringLiteral("Name"));
        QCOMPARE(form->gridModel()
                     ->headerData(columnOf(*form, QStringLiteral("Str")), Qt::Horizontal,
                                  Qt::DisplayRole)
                     .toString(),
                 QStringLiteral("Straße"));
    }

    void badLayoutFilesFallBackToDefaults_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("short") << QByteArray("[Quillon Rasterlayout]\r\n");
        QTest::newRow("damaged") << QByteArray(300, '\x01');
        QTest::newRow("unknown fields only") << QByteArray(
            "[Quillon Rasterlayout]\r\n; " + QByteArray(80, '-') + "\r\nColumn=Nix;80;1;Nix\r\n");
    }
    void badLayoutFilesFallBackToDefaults() {
        QFETCH(QByteArray, content);
        Fixture f;
        QFile file(f.installation.dataDir() + QStringLiteral("Database.grd"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        auto form = f.start();
        QCOMPARE(form->gridModel()->columns().size(), 17);
        QCOMPARE(form->gridModel()->columns().first().title, QStringLiteral("Nr."));
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void bulkMarking() {
        Fixture f;
        f.installation.writeFile(QStringLiteral("Data/database.fil"),
                                 {QStringLiteral("Kopf"), QStringLiteral("Alle|"),
                                  QStringLiteral("Unmarkiert|Selected='False'")});
        auto form = f.start();
        addRecords(*form->ActiveTable(),
                   {{"A", "", "Falsch"}, {"B", "", "Falsch"}, {"C", "", "Wahr"}});
        // The marking takes the records out of this filter; every one of them is marked all the
        // same.
        form->ComboBox1Change(1);
        form->findChild<QToolButton*>(QStringLiteral("SelectAllTB"))->click();
        form->ActiveTable()->setFiltered(false);
        QCOMPARE(form->ActiveTable()->recordCount(), 3);
        form->ActiveTable()->setFilter(QStringLiteral("Selected='True'"));
        form->ActiveTable()->setFiltered(true);
        QCOMPARE(form->ActiveTable()->recordCount(), 3);
        QCOMPARE(form->statusText(), QString());

        f.dialogs.answers = {UserDialogs::Answer::No};
        form->findChild<QToolButton*>(QStringLiteral("UnselectAllTB"))->click();
        QCOMPARE(form->ActiveTable()->recordCount(), 3);
        f.dialogs.answers = {UserDialogs::Answer::Yes};
        form->findChild<QToolButton*>(QStringLiteral("UnselectAllTB"))->click();
        QVERIFY(!form->ActiveTable()->filtered());
        QCOMPARE(form->ActiveTable()->filter(), QString());
        QCOMPARE(f.dialogs.texts(),
                 QStringList(2, QStringLiteral("Alle markierten Datensätze unmarkieren?")));
    }

    void idRangeDialog_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("marked"); // names, in ID order
        QTest::addColumn<int>("errors");
        QTest::newRow("range") << "2"
                               << "3"
                               << "BC" << 0;
        QTest::newRow("reversed marks nothing") << "3"
                                                << "2"
                                                << "" << 0;
        QTest::newRow("empty start keeps 0 to 0") << ""
                                                  << "3"
                                                  << "" << 1;
    }
    void idRangeDialog() {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, marked);
        QFETCH(int, errors);
        Fixture f;
        auto form = f.start();
        addRecords(
            *form->ActiveTable(),
            {{"A", "", "Falsch"}, {"B", "", "Falsch"}, {"C", "", "Falsch"}, {"D", "", "Falsch"}});
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Markieren von ID bis ID"));
            QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("DoLabel"))->text(),
                     QStringLiteral("Markieren"));
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("MaskEdit1")), start);
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("MaskEdit2")), end);
            dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        });
        form->findChild<QAction*>(QStringLiteral("MarkierenvonIDbisID1"))->trigger();
        QCOMPARE(f.dialogs.shown.size(), errors);
        Table& table = *form->ActiveTable();
        QCOMPARE(table.recNo(), 0);
        QString names;
        for (table.first(); !table.eof(); table.next())
            if (table.asBool(table.fieldIndex(QStringLiteral("Selected"))))
                names += table.text(QStringLiteral("Name"));
        QCOMPARE(names, marked);
    }

    void deleteMarkedAndEmpty() {
        Fixture f;
        auto form = f.start();
        addRecords(*form->ActiveTable(),
                   {{"A", "", "Wahr"}, {"B", "", "Falsch"}, {"C", "", "Wahr"}});
        f.dialogs.answers = {UserDialogs::Answer::Yes};
        form->findChild<QAction*>(QStringLiteral("AllemarkiertenDatenstzelschen2"))->trigger();
        QCOMPARE(form->ActiveTable()->recordCount(), 1);
        QCOMPARE(countText(*form), QStringLiteral("1 Datensätze"));

        f.dialogs.answers = {UserDialogs::Answer::Yes, UserDialogs::Answer::No};
        form->findChild<QAction*>(QStringLiteral("Datenbankkomplettleeren1"))->trigger();
        QCOMPARE(form->ActiveTable()->recordCount(), 1);
        f.dialogs.answers = {UserDialogs::Answer::Yes, UserDialogs::Answer::Yes};
        form->findChild<QAction*>(QStringLiteral("Datenbankkomplettleeren1"))->trigger();
        QVERIFY(form->hasOpenTable());
        QCOMPARE(form->ActiveTable()->recordCount(), 0);
        QCOMPARE(form->ActiveTable()->fieldCount(), 17);
        QCOMPARE(countText(*form), QStringLiteral("0 Datensätze"));
        QVERIFY(
            QFileInfo(FileNames::resolve(f.installation.dataDir() + QStringLiteral("database.grd")))
                .size() > 100);
    }

    void settingsFileCheckedOnActivation() {
        Fixture f;
        QFile::remove(f.installation.programDir() + QStringLiteral("Serienbrief.ini"));
        auto form = f.start();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(form.get(), &activate);
        QCOMPARE(f.dialogs.texts(),
                 QStringList{QStringLiteral("Inifile ") + f.installation.programDir() +
                             QStringLiteral("Serienbrief.ini not found!")});
        // The activation right after our own message box closes does not ask again.
        QApplication::sendEvent(form.get(), &activate);
        QCOMPARE(f.dialogs.shown.size(), 1);
        QApplication::sendEvent(form.get(), &activate);
        QCOMPARE(f.dialogs.shown.size(), 2);
    }
};

QTEST_MAIN(TestMainForm)
#include "TestMainForm.moc"
