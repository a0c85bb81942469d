#pragma once

#include <QString>
#include <functional>

class Table;

// The bulk commands on the open table's marks (the logical field "Selected"). They change
// the records with set-based statements in batches inside one transaction, and leave the
// table where the record-by-record command would: the same records changed, the same filter
// and position; after an error midway the finished batches stay. The caller asks the
// questions, shows the busy cursor and clears its status panel at the end.
namespace Marking {

// Receives the progress texts of a command ("Markieren: 5000 von 12000", ...): after every
// batch of records and once at the end, never for a command that has no records to visit.
using Progress = std::function<void(const QString&)>;

constexpr int kBatchSize = 5000;

struct Result {
    int visited = 0; // the records the command went through
    int changed = 0; // of those, the records whose mark changed or that were deleted
};

// Marks every record that passes the current filter when the command starts, even when the
// marking makes records leave the filter. The filter stays as it is; the cursor ends on the
// last record, at the end of the table. Progress "Markieren: k von n".
Result markAll(Table& table, const Progress& progress = {});

// Switches the filter off, clears its text and unmarks every record of the table. The
// cursor ends on the last record, at the end of the table. Progress "Unmarkieren: k von n".
Result unmarkAll(Table& table, const Progress& progress = {});

// Clears the filter text, switches the filter off and marks every record whose ID lies in
// start..end, both included (start above end marks nothing); other records keep their
// marks. The table is closed and opened again and stands on its first record. Progress
// "Record: k von n".
Result markIdRange(Table& table, int start, int end, const Progress& progress = {});

// Switches the filter off (its text stays) and deletes every marked record. The table is
// closed and opened again and stands on its first record. Progress "Delete: k", k counting
// the deleted records.
Result deleteMarked(Table& table, const Progress& progress = {});

// Marks every record, from the current one to the end in the current order and filter, in
// which any field's text contains the text (TextMatch); the current record is looked at even
// when the table is already at its end. The cursor ends on the last record, at the end of
// the table. Returns the number of records newly marked.
int markByText(Table& table, const QString& text);

// Closes the table and deletes its file <stem>.DB and the grid layout <stem>.grd beside it,
// ignoring failures. Returns the table-list name "<stem>.ini" (without folder) to open the
// database again with, which creates the table afresh and empty from its profile.
QString emptyDatabase(Table& table);

} // namespace Marking
