#include "TransferCommands.h"

#include "CliCommands.h"
#include "definitions/DatabaseSession.h"
#include "export/TextExport.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "foundations/TextHelpers.h"
#include "import/NotAvailable.h"
#include "import/TextImport.h"

#include <QFileInfo>

namespace {

bool takeFlag(QStringList& args, const QString& name) {
    return args.removeAll(name) > 0;
}

QString takePath(QStringList& args, const QString& what) {
    if (args.size() != 1 || args.first().startsWith(QStringLiteral("--")))
        throw CliUsageError{args.isEmpty()
                                ? QStringLiteral("%1 fehlt").arg(what)
                                : QStringLiteral("unerwartetes Argument „%1“").arg(args.last())};
    return QFileInfo(args.takeFirst()).absoluteFilePath();
}

} // namespace

int cliImport(CliContext& context) {
    Table& table = openTable(context);
    bool mapped = false;
    bool delimited = false;
    const QString map = takeOption(context.args, QStringLiteral("--map"), &mapped);
    const QString delimiters = takeOption(context.args, QStringLiteral("--delimiter"), &delimited);
    const QString path = takePath(context.args, QStringLiteral("DATEI"));

    // As in the import window: every field of the profile from the fifth on, "0" unless mapped.
    QList<TextImport::MappingEntry> mapping =
        TextImport::mappingFromProfile(context.session.profileLines());
    for (const QString& item : map.split(u',', Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(u'=');
        if (equals <= 0)
            throw CliUsageError{QStringLiteral("„%1“ ist kein FELD=SPALTE").arg(item)};
        const QString field = item.left(equals).trimmed();
        const QString column = item.mid(equals + 1).trimmed();
        bool found = false;
        for (TextImport::MappingEntry& entry : mapping) {
            if (SameTextIgnoringCase(entry.fieldName, field)) {
                entry.column = column;
                found = true;
            }
        }
        if (!found)
            mapping.append({field, column, field});
    }
    if (TextImport::isTableFile(path))
        throw QuillonError(NotAvailable::tableFileImport());
    const TextImport::Result result =
        TextImport::ImportCVS(table, path, mapping, delimited ? delimiters : QStringLiteral(";"));
    context.out << records(result.added) << " importiert\n";
    return 0;
}

int cliExportCsv(CliContext& context) {
    Table& table = openTable(context);
    TextExport::Options options;
    bool fieldsGiven = false;
    bool delimited = false;
    const QString fields = takeOption(context.args, QStringLiteral("--fields"), &fieldsGiven);
    const QString delimiter = takeOption(context.args, QStringLiteral("--delimiter"), &delimited);
    options.header = !takeFlag(context.args, QStringLiteral("--no-header"));
    options.trim = takeFlag(context.args, QStringLiteral("--trim"));
    options.onlyMarked = takeFlag(context.args, QStringLiteral("--marked"));
    if (delimited)
        options.delimiter = delimiter;
    const QString path = takePath(context.args, QStringLiteral("AUSGABEDATEI"));
    if (fieldsGiven) {
        for (const QString& name : fields.split(u',', Qt::SkipEmptyParts))
            options.fields.append(name.trimmed());
    } else {
        for (const FieldDef& field : table.fields())
            options.fields.append(field.name);
    }
    table.first();
    const TextExport::Result result = TextExport::ExportText(table, options, [&] { return path; });
    context.out << records(result.records) << " exportiert\n";
    return 0;
}
