#include "TestSupport.h"
#include "foundations/Table.h"
#include "records/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// A main window on the shipped address database with three records:
// Alpha in Nord (marked), Beta in Süd, Gamma in Nord (marked).
struct Fixture {
    TestInstallation installation;
    RecordingDialogs dialogs;
    RecordingShell shell;
    std::unique_ptr<TMainForm> main;

    Fixture() {
        const Folders folders =
            Folders::forProgramDir(installation.programDir(), installation.lettersDir());
        main = std::make_unique<TMainForm>(
            ProductConfig::fromProgramName(QStringLiteral("quillon")), folders, dialogs, shell);
        add(QStringLiteral("Alpha"), QStringLiteral("Nord"), QStringLiteral("Wahr"));
        add(QStringLiteral("Beta"), QStringLiteral("Süd"), QStringLiteral("Falsch"));
        add(QStringLiteral("Gamma"), QStringLiteral("Nord"), QStringLiteral("Wahr"));
    }
    Table& table() { return *main->ActiveTable(); }
    void add(const QString& name, const QString& ort, const QString& selected) {
        table().append();
        table().setText(QStringLiteral("Name"), name);
        table().setText(QStringLiteral("Ort"), ort);
        table().setText(QStringLiteral("Selected"), selected);
        table().post();
    }
    QByteArray bytes(const QString& name) {
        QFile file(installation.programDir() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    // Runs the export command; the steps act on the wizard and then on the export window.
    void runExport(bool text, const std::function<void(QWidget*)>& inAsciiForm = {}) {
        whenShown(QStringLiteral("ExportWizzard1Form"), [=](QWidget* wizard) {
            if (inAsciiForm)
                whenShown(QStringLiteral("AsciiForm"), [=](QWidget* form) {
                    inAsciiForm(form);
                    if (form->isVisible())
                        click(form, "AbortBitBtn");
                });
            wizard
                ->findChild<QRadioButton*>(text ? QStringLiteral("OtherRadioButton")
                                                : QStringLiteral("ExcelRadioButton"))
                ->setChecked(true);
            click(wizard, "WeiterBitBtn");
        });
        main->findChild<QAction*>(QStringLiteral("Datenstzeexportieren1"))->trigger();
    }
    static void whenShown(const QString& name, const std::function<void(QWidget*)>& act,
                          int tries = 200) {
        QTimer::singleShot(tries == 200 ? 0 : 5, [=] {
            QWidget* window = QApplication::activeModalWidget();
            if (window && window->objectName() == name && window->isVisible())
                return act(window);
            if (tries > 0)
                return whenShown(name, act, tries - 1);
            QFAIL(qPrintable(QStringLiteral("%1 never showed").arg(name)));
        });
    }
    static void click(QWidget* window, const char* button) {
        window->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    }
    static void check(QWidget* form, const char* box, bool on) {
        form->findChild<QCheckBox*>(QString::fromLatin1(box))->setChecked(on);
    }
    // Leaves only the named fields checked in the field list.
    static void keepFields(QWidget* form, const QStringList& names) {
        auto* list = form->findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setCheckState(names.contains(list->item(i)->text()) ? Qt::Checked
                                                                               : Qt::Unchecked);
    }
};

} // namespace

class TestExportForms : public QObject {
    Q_OBJECT
private slots:
    // Every field listed and checked; only-marked with a preset filter active writes the
    // marked records of the whole table and leaves no filter; a name without extension gets
    // ".csv"; the grid stands on its record again.
    void exportThroughTheWindows() {
        Fixture f;
        f.table().setFilter(QStringLiteral("Name='Gamma'"));
        f.table().setFiltered(true);
        f.dialogs.fileNames = {f.installation.programDir() + QStringLiteral("adressen")};
        f.runExport(true, [](QWidget* form) {
            auto* list = form->findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
            QCOMPARE(list->count(), 17);
            QCOMPARE(list->item(7)->text(), QStringLiteral("Name"));
            for (int i = 0; i < list->count(); ++i)
                QCOMPARE(list->item(i)->checkState(), Qt::Checked);
            Fixture::keepFields(form, {"Name", "Ort"});
            Fixture::check(form, "OnlyMarkedCheckBox", true);
            Fixture::check(form, "TrimCheckBox", true);
            form->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral(","));
            Fixture::click(form, "OKBitBtn");
            QVERIFY(!form->isVisible());
        });
        const QByteArray written = f.bytes(QStringLiteral("adressen.csv"));
        QCOMPARE(written, QByteArray("Name") + QByteArray(66, ' ') + ",Ort" + QByteArray(47, ' ') +
                              ",\r\nAlpha,Nord,\r\nGamma,Nord,\r\n");
        QVERIFY(!f.table().filtered());
        QCOMPARE(f.table().text(QStringLiteral("Name")), QStringLiteral("Gamma"));
        QVERIFY(f.dialogs.shown.isEmpty());

        // The choices stay, the field list starts again with every field checked; a cancelled
        // save dialog writes nothing.
        f.runExport(true, [](QWidget* form) {
            QVERIFY(form->findChild<QCheckBox*>(QStringLiteral("TrimCheckBox"))->isChecked());
            QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(),
                     QStringLiteral(","));
            auto* list = form->findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
            QCOMPARE(list->item(0)->checkState(), Qt::Checked);
            Fixture::click(form, "OKBitBtn");
            QVERIFY(!form->isVisible());
        });
        QCOMPARE(f.bytes(QStringLiteral("adressen.csv")), written);
    }

    // A write error is shown; the window closes all the same and nothing is written.
    void writeErrorIsShown() {
        Fixture f;
        f.dialogs.fileNames = {f.installation.programDir() + QStringLiteral("fehlt/x.csv")};
        f.runExport(true, [](QWidget* form) { Fixture::click(form, "OKBitBtn"); });
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown[0].kind, UserDialogs::Kind::Error);
        QVERIFY(f.dialogs.shown[0].text.contains(QStringLiteral("fehlt/x.csv")));
        QVERIFY(!QFileInfo::exists(f.installation.programDir() + "fehlt"));
    }

    void workbookIsNotThereYet() {
        Fixture f;
        f.runExport(false);
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(f.dialogs.shown[0].text.contains(QStringLiteral("noch nicht verfügbar")));
    }
};

QTEST_MAIN(TestExportForms)
#include "TestExportForms.moc"
