#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class Table;
class UserDialogs;
struct Folders;

// The marked records as the word processor merges them: the field names of the profile
// from its sixth field on, and per record the text of the table's fields from the sixth on,
// the salutation replaced by its formula.
struct MergeData {
    QStringList fieldNames;
    std::vector<QStringList> records;

    // The merge data file: Windows-1252, every line ended by CR LF, the header's names each
    // followed by "|", every value followed by " |". Values are written unchanged.
    QByteArray fileBytes() const;
};

namespace MergeDataFile {

QString filePath(const QString& lettersDir);

QString cannotWriteMessage();

// Reads the marked records of the table in its current order. The table ends unfiltered
// on its first record with the filter text "Selected='True'" set, also after an error.
MergeData collect(Table& table, const QStringList& profileLines, const QString& programDir);

// Replaces the file whole; false (and the old file untouched) when it cannot be written.
bool save(const MergeData& data, const QString& lettersDir);

} // namespace MergeDataFile

// Collects the marked records and writes the merge data file into the letters folder; shows
// the message and returns false when the file cannot be written. The data written is
// handed back for the merge.
bool WriteSerienbriefFile(Table& table, const QStringList& profileLines, const Folders& folders,
                          UserDialogs& dialogs, MergeData* written = nullptr);
