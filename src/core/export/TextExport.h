#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Table;

// The export of the open table to a delimited text file: Windows-1252, CR LF after every
// line, every value followed by the delimiter text, padded to the field's export width
// unless trimmed. Nothing is quoted or escaped.
namespace TextExport {

struct Options {
    // Names of the fields to write; they are written in the table's field order.
    QStringList fields;
    bool header = true;
    // The marked records of the whole table instead of those the current filter lets through.
    bool onlyMarked = false;
    bool trim = false;
    QString delimiter = QStringLiteral(";");
};

// The export width of each field (indexes into table.fields()): the size in the field's
// profile line plus 10, a computed 0 taken as 8. The profile is read anew from beside the
// table file; a missing profile or a size that is not a number is an error.
std::vector<int> exportWidths(const Table& table, const QList<int>& fields);

// Asked for the file once the profile has been read; an empty name means cancelled.
using ChooseFile = std::function<QString()>;
// Receives "Export: k von n" now and then while the records are written.
using Progress = std::function<void(const QString&)>;

struct Result {
    QString path; // empty when cancelled
    int records = 0;
};

// Writes the file, replacing an existing one only when everything was written (a file that
// cannot be written is an error and nothing is changed). Afterwards filtering is switched
// off, also when the user cancelled, and the table stands on the record it stood on before.
Result ExportText(Table& table, const Options& options, const ChooseFile& chooseFile,
                  const Progress& progress = {});

} // namespace TextExport
