#include "CliCommands.h"

#include "LetterCommands.h"
#include "TransferCommands.h"
#include "definitions/DatabaseSession.h"
#include "definitions/Descriptors.h"
#include "definitions/GridLayout.h"
#include "foundations/FieldValues.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "records/IdRange.h"
#include "records/Marking.h"

QString takeOption(QStringList& args, const QString& name, bool* present) {
    const int at = args.indexOf(name);
    if (present)
        *present = at >= 0;
    if (at < 0)
        return {};
    if (at + 1 >= args.size())
        throw CliUsageError{QStringLiteral("%1 braucht einen Wert").arg(name)};
    const QString value = args.at(at + 1);
    args.remove(at, 2);
    return value;
}

void requireNoMoreArguments(const QStringList& args) {
    if (!args.isEmpty())
        throw CliUsageError{QStringLiteral("unerwartetes Argument „%1“").arg(args.first())};
}

Table& openTable(CliContext& context) {
    Table* table = context.session.activeTable();
    if (!table || !table->isOpen())
        throw QuillonError(QStringLiteral("Zuerst Datenbank öffnen!"));
    return *table;
}

QString records(int count) {
    return count == 1 ? QStringLiteral("1 Datensatz") : QStringLiteral("%1 Datensätze").arg(count);
}

namespace {

void applyFilter(Table& table, QStringList& args) {
    bool present = false;
    const QString filter = takeOption(args, QStringLiteral("--filter"), &present);
    if (!present)
        return;
    table.setFilter(filter);
    table.setFiltered(true);
}

int count(CliContext& context) {
    Table& table = openTable(context);
    applyFilter(table, context.args);
    requireNoMoreArguments(context.args);
    context.out << table.recordCount() << '\n';
    return 0;
}

int list(CliContext& context) {
    Table& table = openTable(context);
    bool fieldsGiven = false;
    const QString fieldList = takeOption(context.args, QStringLiteral("--fields"), &fieldsGiven);
    applyFilter(table, context.args);
    requireNoMoreArguments(context.args);
    QList<int> fields;
    if (fieldsGiven) {
        for (const QString& name : fieldList.split(u',', Qt::SkipEmptyParts))
            fields.append(table.fieldIndex(name.trimmed()));
    } else {
        for (int i = 0; i < table.fieldCount(); ++i)
            fields.append(i);
    }
    // One statement over the filter and order, not one read per record.
    QStringList texts;
    table.forEachRecord([&](const QVector<QVariant>& values) {
        texts.clear();
        for (int field : fields)
            texts.append(FieldValues::toText(table.fields()[field], values[field]));
        context.out << texts.join(u'|') << '\n';
        return true;
    });
    return 0;
}

int add(CliContext& context) {
    Table& table = openTable(context);
    if (context.args.isEmpty())
        throw CliUsageError{QStringLiteral("add braucht mindestens ein FELD=WERT")};
    QList<QPair<int, QString>> assignments;
    for (const QString& arg : context.args) {
        const int equals = arg.indexOf(u'=');
        if (equals <= 0)
            throw CliUsageError{QStringLiteral("„%1“ ist kein FELD=WERT").arg(arg)};
        assignments.append({table.fieldIndex(arg.left(equals)), arg.mid(equals + 1)});
    }
    table.append();
    try {
        for (const auto& [field, value] : assignments)
            table.setText(field, value);
        table.post();
    } catch (...) {
        table.cancel();
        throw;
    }
    const int id = table.findField(QStringLiteral("ID"));
    context.out << (id >= 0 ? table.text(id) : QString::number(table.bookmark())) << '\n';
    return 0;
}

int markAll(CliContext& context) {
    Table& table = openTable(context);
    applyFilter(table, context.args);
    requireNoMoreArguments(context.args);
    context.out << records(Marking::markAll(table).changed) << " markiert\n";
    return 0;
}

int unmarkAll(CliContext& context) {
    Table& table = openTable(context);
    requireNoMoreArguments(context.args);
    context.out << records(Marking::unmarkAll(table).changed) << " unmarkiert\n";
    return 0;
}

int markRange(CliContext& context) {
    Table& table = openTable(context);
    if (context.args.size() != 2)
        throw CliUsageError{QStringLiteral("mark-range braucht VON und BIS")};
    const int start = IdRange::parseId(context.args[0]);
    const int end = IdRange::parseId(context.args[1]);
    context.out << records(Marking::markIdRange(table, start, end).changed) << " markiert\n";
    return 0;
}

int markText(CliContext& context) {
    Table& table = openTable(context);
    if (context.args.size() != 1)
        throw CliUsageError{QStringLiteral("mark-text braucht genau einen TEXT")};
    const QString text = context.args[0];
    if (text.isEmpty())
        throw QuillonError(QStringLiteral("Der Text zum Markieren ist leer."));
    table.first();
    context.out << records(Marking::markByText(table, text)) << " markiert\n";
    return 0;
}

int deleteMarked(CliContext& context) {
    Table& table = openTable(context);
    requireNoMoreArguments(context.args);
    context.out << records(Marking::deleteMarked(table).changed) << " gelöscht\n";
    return 0;
}

int emptyDatabase(CliContext& context) {
    Table& table = openTable(context);
    requireNoMoreArguments(context.args);
    const int count = table.recordCount();
    // The window writes its grid's columns again after emptying; here the layout that was
    // there is written back, so it survives as well.
    const QString layoutFile = DescriptorPaths::layoutForTableFile(table.tableName());
    QList<GridColumn> columns;
    const bool hadLayout = GridLayout::read(layoutFile, &columns);
    const QString tableList = Marking::emptyDatabase(table);
    context.session.open(tableList);
    if (hadLayout)
        GridLayout::write(layoutFile, columns);
    context.out << "Datenbank geleert: " << records(count) << " gelöscht\n";
    return 0;
}

} // namespace

const QList<CliCommand>& cliCommands() {
    static const QList<CliCommand> commands = {
        {QStringLiteral("count"), QStringLiteral("count [--filter AUSDRUCK]"), count},
        {QStringLiteral("list"), QStringLiteral("list [--filter AUSDRUCK] [--fields F1,F2,...]"),
         list},
        {QStringLiteral("add"), QStringLiteral("add FELD=WERT ..."), add},
        {QStringLiteral("mark-all"), QStringLiteral("mark-all [--filter AUSDRUCK]"), markAll},
        {QStringLiteral("unmark-all"), QStringLiteral("unmark-all"), unmarkAll},
        {QStringLiteral("mark-range"), QStringLiteral("mark-range VON BIS"), markRange},
        {QStringLiteral("mark-text"), QStringLiteral("mark-text TEXT"), markText},
        {QStringLiteral("delete-marked"), QStringLiteral("delete-marked"), deleteMarked},
        {QStringLiteral("empty"), QStringLiteral("empty"), emptyDatabase},
        {QStringLiteral("import"),
         QStringLiteral("import DATEI [--map FELD=SPALTE,...] [--delimiter ZEICHEN]"), cliImport},
        {QStringLiteral("export-csv"),
         QStringLiteral("export-csv AUSGABEDATEI [--fields F1,F2,...] [--no-header] [--trim] "
                        "[--marked] [--delimiter TEXT]"),
         cliExportCsv},
        {QStringLiteral("merge"), QStringLiteral("merge"), mergeCommand},
        {QStringLiteral("letter"), QStringLiteral("letter DOKUMENT [--out DATEI]"), letterCommand},
    };
    return commands;
}
