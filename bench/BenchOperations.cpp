#include "BenchOperations.h"

#include "AddressGenerator.h"
#include "definitions/DatabaseSession.h"
#include "export/TextExport.h"
#include "foundations/DesktopShell.h"
#include "foundations/ProductConfig.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/UserDialogs.h"
#include "import/TextImport.h"
#include "letters/MergeData.h"
#include "letters/OdtMerge.h"
#include "records/GridColumns.h"
#include "records/Marking.h"
#include "records/RecordGridModel.h"
#include "records/RecordSearch.h"
#include "records/TMainForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

namespace {

// Nobody answers in a benchmark: every question is taken as given, nothing is shown.
class SilentDialogs : public UserDialogs {
public:
    Answer message(Kind, const QString&, Buttons buttons) override {
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString folderName(const QString&, const QString&) override { return {}; }
};

// What a child works on: the installation copy and its open database.
struct Context {
    QString dir;
    QString pristine;
    QString csv;
    int runs = 1;
    double since = 0;
    int records = 0;
    SilentDialogs dialogs;
    std::unique_ptr<DatabaseSession> session;

    Folders folders() const {
        return Folders::forProgramDir(dir + u'/', dir + QStringLiteral("/MyLetters/"));
    }
    Table& table() {
        if (!session) {
            session = std::make_unique<DatabaseSession>(folders(), dialogs);
            session->open(QStringLiteral("Database.ini"));
        }
        if (!session->activeTable())
            throw QuillonError(QStringLiteral("Die Adressdatenbank ist nicht offen."));
        return *session->activeTable();
    }
    void closeDatabase() { session.reset(); }
    // Puts the generated table back, for operations that remove records.
    void restoreDatabase() {
        closeDatabase();
        const QString target = dir + QStringLiteral("/Data/database.DB");
        QFile::remove(target);
        if (!QFile::copy(pristine + QStringLiteral("/Data/database.DB"), target))
            throw QuillonError(QStringLiteral("Kann die Tabelle nicht zurücksetzen."));
    }
};

struct Steps {
    std::function<void(Context&)> prepare; // before every run, not timed
    std::function<void(Context&)> run;     // timed
};

void readFirstScreen(RecordGridModel& model, int rows) {
    rows = std::min(rows, model.rowCount());
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            model.data(model.index(row, column), Qt::DisplayRole);
}

const QString kMissingText = QStringLiteral("Quxqux");

Steps stepsFor(const QString& name) {
    if (name == u"open")
        return {[](Context& c) { c.closeDatabase(); },
                [](Context& c) {
                    Table& table = c.table();
                    RecordGridModel model;
                    model.setTable(&table);
                    model.setColumns(GridColumns::defaultColumns(table));
                    readFirstScreen(model, 50);
                }};
    if (name == u"scan")
        return {[](Context&) {},
                [](Context& c) {
                    Table& table = c.table();
                    RecordGridModel model;
                    model.setTable(&table);
                    model.setColumns(GridColumns::defaultColumns(table));
                    readFirstScreen(model, model.rowCount());
                }};
    if (name == u"filter")
        return {[](Context& c) { c.table().setFiltered(false); },
                [](Context& c) {
                    Table& table = c.table();
                    table.setFilter(QStringLiteral("Str='Goethestraße 12'"));
                    table.setFiltered(true);
                    if (table.recordCount() == 0 && table.fieldCount() < 0)
                        throw QuillonError(QStringLiteral("unmöglich"));
                }};
    if (name == u"mark-all")
        return {[](Context& c) { Marking::unmarkAll(c.table()); },
                [](Context& c) { Marking::markAll(c.table()); }};
    if (name == u"unmark-all")
        return {[](Context& c) { Marking::markAll(c.table()); },
                [](Context& c) { Marking::unmarkAll(c.table()); }};
    if (name == u"mark-range")
        return {[](Context& c) { Marking::unmarkAll(c.table()); },
                [](Context& c) {
                    const int tenth = c.records / 10;
                    const int start = c.records * 45 / 100 + 1;
                    Marking::markIdRange(c.table(), start, start + tenth - 1);
                }};
    if (name == u"delete-marked")
        return {[](Context& c) {
                    c.restoreDatabase();
                    Marking::markIdRange(c.table(), 1, c.records / 10);
                },
                [](Context& c) { Marking::deleteMarked(c.table()); }};
    if (name == u"search-miss") {
        auto search = std::make_shared<RecordSearch>();
        return {[search](Context& c) { search->setTerm(kMissingText, &c.table()); },
                [search](Context& c) {
                    if (search->step(c.table()).hit)
                        throw QuillonError(QStringLiteral("unerwarteter Treffer"));
                }};
    }
    if (name == u"mark-text-miss")
        return {[](Context& c) { c.table().first(); },
                [](Context& c) {
                    if (Marking::markByText(c.table(), kMissingText) != 0)
                        throw QuillonError(QStringLiteral("unerwarteter Treffer"));
                }};
    if (name == u"import")
        return {[](Context& c) {
                    // An empty table, as "Datenbank komplett leeren" leaves it.
                    c.closeDatabase();
                    QFile::remove(c.dir + QStringLiteral("/Data/database.DB"));
                    c.table();
                },
                [](Context& c) {
                    QList<TextImport::MappingEntry> mapping =
                        TextImport::mappingFromProfile(c.session->profileLines());
                    for (TextImport::MappingEntry& entry : mapping)
                        entry.column = QString::number(
                            AddressGenerator::columns().indexOf(entry.fieldName) + 1);
                    const TextImport::Result result =
                        TextImport::ImportCVS(c.table(), c.csv, mapping, QStringLiteral(","));
                    if (result.added != c.records)
                        throw QuillonError(QStringLiteral("%1 statt %2 Datensätze importiert")
                                               .arg(result.added)
                                               .arg(c.records));
                }};
    if (name == u"export" || name == u"export-padded")
        return {[](Context& c) { c.table().setFiltered(false); },
                [trim = name == u"export"](Context& c) {
                    TextExport::Options options;
                    for (const FieldDef& field : c.table().fields())
                        options.fields << field.name;
                    options.trim = trim;
                    options.delimiter = QStringLiteral(",");
                    const QString out = c.dir + QStringLiteral("/export.csv");
                    const TextExport::Result result =
                        TextExport::ExportText(c.table(), options, [out] { return out; });
                    if (result.records != c.records)
                        throw QuillonError(QStringLiteral("%1 statt %2 Datensätze exportiert")
                                               .arg(result.records)
                                               .arg(c.records));
                }};
    if (name == u"merge-data")
        return {[](Context& c) {
                    Marking::unmarkAll(c.table());
                    Marking::markIdRange(c.table(), 1, std::max(1, c.records / 10));
                },
                [](Context& c) {
                    if (!WriteSerienbriefFile(c.table(), c.session->profileLines(), c.folders(),
                                              c.dialogs))
                        throw QuillonError(MergeDataFile::cannotWriteMessage());
                }};
    if (name == u"letter")
        return {[](Context& c) {
                    Marking::unmarkAll(c.table());
                    Marking::markIdRange(c.table(), 1, 1000);
                },
                [](Context& c) {
                    MergeData data;
                    if (!WriteSerienbriefFile(c.table(), c.session->profileLines(), c.folders(),
                                              c.dialogs, &data))
                        throw QuillonError(MergeDataFile::cannotWriteMessage());
                    const QString document =
                        c.dir + QStringLiteral("/MyLetters/Brief-Vorlage DIN 5008.odt");
                    OdtMerge::merge(document, data,
                                    OdtMerge::outputPathFor(document, c.folders().lettersDir));
                }};
    throw QuillonError(QStringLiteral("unbekannte Operation %1").arg(name));
}

// The program's start as main() does it, up to the main window shown on the database.
int startProgram(Context& c) {
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtGerman);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    DesktopShell shell;
    TMainForm form(ProductConfig::fromProgramName(QStringLiteral("quillon")), c.folders(),
                   c.dialogs, shell);
    if (form.refusedToStart())
        throw QuillonError(QStringLiteral("Das Programm hat den Start verweigert."));
    form.show();
    QCoreApplication::processEvents();
    std::printf("time %.6f\n", monotonicSeconds() - c.since);
    return 0;
}

} // namespace

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

const std::vector<BenchOperation>& benchOperations() {
    using C = BenchOperation::Compare;
    static const std::vector<BenchOperation> operations = {
        {"start", "Programmstart bis Hauptfenster", "≤ 1 s", 1.0, 0, C::None, 1, true},
        {"open", "Datenbank öffnen, erste 50 Zeilen", "≤ 0,5 s", 0.5},
        {"scan", "alle Zeilen über das Rastermodell", "≤ 150 MB", 0, 150, C::None, 1, false, true},
        {"filter", "Filter auf nicht indiziertes Feld + Zählen", "≤ 0,3 s", 0.3},
        {"mark-all", "Alle markieren", "≤ 2 s", 2.0},
        {"unmark-all", "Alle Markierungen aufheben", "≤ 2 s", 2.0},
        {"mark-range", "ID-Bereich von N/10 markieren", "≤ 2 s", 2.0},
        {"delete-marked", "N/10 markierte löschen", "≤ 2 s", 2.0},
        {"search-miss", "Suchschritt ohne Treffer", "≤ 1,5 s", 1.5},
        {"mark-text-miss", "Markieren nach Text ohne Treffer", "≤ 2 s", 2.0},
        {"import", "Import der Textdatei, 13 Felder", "≤ 1,0 × sqlite3 .import", 0, 0,
         C::ShellImport},
        {"export", "Export als Text (getrimmt)", "≤ 1,0 × sqlite3 -csv", 0, 0, C::ShellExport},
        {"export-padded", "Export als Text mit Exportbreiten (5-mal größere Datei)",
         "zum Vergleich", 0, 0, C::ShellExport, 0},
        {"merge-data", "Seriendatei für N/10 markierte", "≤ 0,5 s", 0.5},
        {"letter", "Serienbrief-Dokument für 1 000 Datensätze", "≤ 3 s", 3.0},
    };
    return operations;
}

const BenchOperation* findBenchOperation(const QString& name) {
    for (const BenchOperation& op : benchOperations())
        if (name == QLatin1String(op.name))
            return &op;
    return nullptr;
}

int benchChildMain(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    Context context;
    auto value = [&](const char* option) {
        const int at = args.indexOf(QLatin1String(option));
        return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
    };
    const QString name = value("--child");
    context.dir = value("--dir");
    context.pristine = value("--pristine");
    context.csv = value("--csv");
    context.runs = std::max(1, value("--runs").toInt());
    context.since = value("--since").toDouble();
    context.records = value("--records").toInt();
    try {
        if (name == u"start")
            return startProgram(context);
        const Steps steps = stepsFor(name);
        const BenchOperation* op = findBenchOperation(name);
        const int runs = op && op->singleRun ? 1 : context.runs + 1;
        for (int run = 0; run < runs; ++run) {
            steps.prepare(context);
            const double start = monotonicSeconds();
            steps.run(context);
            const double elapsed = monotonicSeconds() - start;
            // The first of several runs warms the page cache and is not reported.
            if (runs == 1 || run > 0)
                std::printf("time %.6f\n", elapsed);
        }
        return 0;
    } catch (const QuillonError& error) {
        std::printf("%s\n", error.message().toUtf8().constData());
        return 1;
    }
}
