#include "LetterCommands.h"

#include "CliCommands.h"
#include "definitions/DatabaseSession.h"
#include "foundations/QuillonError.h"
#include "foundations/Table.h"
#include "letters/MergeData.h"
#include "letters/OdtMerge.h"
#include "letters/Templates.h"

#include <QDir>
#include <QFileInfo>

namespace {

MergeData writeMergeData(CliContext& context) {
    Table& table = openTable(context);
    const Folders& folders = context.session.folders();
    Templates::ensureLettersFolder(folders.lettersDir, folders.programDir);
    MergeData data =
        MergeDataFile::collect(table, context.session.profileLines(), folders.programDir);
    if (!MergeDataFile::save(data, folders.lettersDir))
        throw QuillonError(MergeDataFile::cannotWriteMessage());
    return data;
}

} // namespace

int mergeCommand(CliContext& context) {
    if (!context.args.isEmpty())
        throw CliUsageError{QStringLiteral("unerwartetes Argument „%1“").arg(context.args.first())};
    const MergeData data = writeMergeData(context);
    context.out << records(static_cast<int>(data.records.size())) << " geschrieben\n";
    return 0;
}

int letterCommand(CliContext& context) {
    QStringList& args = context.args;
    QString output;
    if (const int at = args.indexOf(QStringLiteral("--out")); at >= 0) {
        if (at + 1 >= args.size())
            throw CliUsageError{QStringLiteral("--out braucht einen Wert")};
        output = QFileInfo(args.at(at + 1)).absoluteFilePath();
        args.remove(at, 2);
    }
    if (args.size() != 1)
        throw CliUsageError{QStringLiteral("letter braucht genau ein DOKUMENT")};
    const QString document = QFileInfo(args.first()).absoluteFilePath();
    if (!QFileInfo(document).isFile())
        throw QuillonError(QStringLiteral("Das Dokument „%1“ gibt es nicht.")
                               .arg(QDir::toNativeSeparators(document)));
    if (!Templates::isOpenDocumentText(document))
        throw QuillonError(QStringLiteral("Nur OpenDocument-Textdokumente (.odt) können "
                                          "zusammengeführt werden: „%1“.")
                               .arg(QDir::toNativeSeparators(document)));
    const MergeData data = writeMergeData(context);
    if (output.isEmpty())
        output = OdtMerge::outputPathFor(document, context.session.folders().lettersDir);
    OdtMerge::merge(document, data, output);
    context.out << output << '\n';
    return 0;
}
