#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

class Table;

// The import of delimited text files into the open table: every non-empty line becomes one
// new, marked record. Values are taken by column number; quotes are stripped from a value's
// ends but protect nothing.
namespace TextImport {

// One field of the open database and the source column typed for it ("0" for none). The
// column text is converted to a number only when the import uses it.
struct MappingEntry {
    QString fieldName;
    QString column;
    QString caption; // for windows: the profile's display name, or the field name
};

// The entries of profile lines 5 to the last (the first four standard fields are set by the
// import itself), each with column "0".
QList<MappingEntry> mappingFromProfile(const QStringList& profileLines);

// Files with the extension .DB or .DBF, in any case, are tables, not text.
bool isTableFile(const QString& path);

// Trims the line and puts a blank between every two adjacent semicolons, whatever the
// delimiters are.
QString prepareLine(const QString& line);

// The words of a prepared line as ExtractWord numbers them: runs of delimiters separate
// like one, delimiters at either end separate nothing, no delimiters make the line one word.
void splitWords(QStringView line, QStringView delimiters, std::vector<QStringView>& words);
// Word n (from 1) with one leading and then one trailing double quote removed, trimmed;
// empty when there is no such word.
QStringView fieldValue(const std::vector<QStringView>& words, qint64 n);

// Receives "Import: k von n" (k the line index from 0, n the lines of the file) for the
// first record, at most every 100 ms after it, and for the last record.
using Progress = std::function<void(const QString&)>;

struct Result {
    int added = 0;
    qint64 lines = 0;
};

// Appends one record per non-empty line: Selected true, LetztesMail empty, then every
// mapped field. An unreadable file is an error before any record is added. A column that is
// not a number, a field the table lacks, a value its field cannot take or a value holding
// control characters (a file that is not text) stops the import at that line with an error naming
// the line and the field; the records before it stay. The records are written in one transaction;
// the cursor ends on the last record added.
Result ImportCVS(Table& table, const QString& path, const QList<MappingEntry>& mapping,
                 const QString& delimiters, const Progress& progress = {});

} // namespace TextImport
