#include "Marking.h"

#include "TableWork.h"
#include "TextMatch.h"
#include "definitions/Descriptors.h"
#include "foundations/FileNames.h"
#include "foundations/FilterParser.h"

#include <algorithm>
#include <sqlite3.h>
#include <unordered_set>
#include <vector>

namespace {

// Below SQLite's smallest limit on bound values per statement.
constexpr int kKeysPerStatement = 500;

QString column(const Table& table, const QString& name) {
    return quoteIdentifier(table.fields()[table.fieldIndex(name)].name);
}

QString andCondition(const CompiledFilter& filter) {
    return filter.sql.isEmpty() ? QString() : QStringLiteral(" AND (%1)").arg(filter.sql);
}

// The keys of the cursor from a row on, in ascending order, so that consecutive batches are
// ranges of the table's rowids.
std::vector<qint64> sortedKeys(const Table& table, int from = 0) {
    std::vector<qint64> keys;
    keys.reserve(static_cast<size_t>(std::max(0, table.recordCount() - from)));
    for (int row = std::max(0, from); row < table.recordCount(); ++row)
        keys.push_back(table.keyAt(row));
    if (!std::is_sorted(keys.begin(), keys.end()))
        std::sort(keys.begin(), keys.end());
    return keys;
}

// Keeps what the finished batches did when a later one fails, as the record-by-record
// command keeps the records it had already posted.
void commitWhatIsDone(Table& table) {
    try {
        table.commit();
    } catch (const QuillonError&) {
        table.rollback();
    }
}

// Runs the statements over the keys in batches inside one transaction. Each statement
// begins its condition with "rowid BETWEEN ? AND ?", bound to the batch's first and last
// key, followed by binds. Only the first statement's changes count. After every batch
// afterBatch gets the records visited so far and the changes so far.
int runInBatches(Table& table, const std::vector<qint64>& keys, const QStringList& statements,
                 const QList<QVariant>& binds,
                 const std::function<void(int visited, int changed)>& afterBatch,
                 const std::function<void()>& first = {}) {
    int changed = 0;
    table.beginTransaction();
    try {
        if (first)
            first();
        const int count = static_cast<int>(keys.size());
        for (int from = 0; from < count; from += Marking::kBatchSize) {
            const int to = std::min(count, from + Marking::kBatchSize);
            const QList<QVariant> batchBinds = QList<QVariant>{keys[static_cast<size_t>(from)],
                                                               keys[static_cast<size_t>(to - 1)]} +
                                               binds;
            for (int i = 0; i < statements.size(); ++i) {
                table.execute(statements[i], batchBinds);
                if (i == 0)
                    changed += sqlite3_changes(table.connection());
            }
            if (afterBatch)
                afterBatch(to, changed);
        }
    } catch (...) {
        commitWhatIsDone(table);
        throw;
    }
    table.commit();
    return changed;
}

// The close and open the commands end with; the sort order survives it.
void reopen(Table& table) {
    const QString index = table.indexName();
    table.close();
    table.open();
    if (table.indexName() != index)
        table.setIndexName(index);
    table.first();
}

void toEnd(Table& table) {
    table.last();
    table.next();
}

// Runs the work and brings the cursor's keys up to date with what it changed, also when
// it failed midway.
template <typename Work> auto refreshedAfter(Table& table, Work work) {
    try {
        auto result = work();
        table.refresh();
        return result;
    } catch (...) {
        table.refresh();
        throw;
    }
}

template <typename Work> auto reopenedAfter(Table& table, Work work) {
    try {
        auto result = work();
        reopen(table);
        return result;
    } catch (...) {
        reopen(table);
        throw;
    }
}

// The batch callback that reports "<caption>: visited von total".
std::function<void(int, int)> visitedProgress(const Marking::Progress& progress,
                                              const QString& caption, int total) {
    if (!progress)
        return {};
    return [progress, caption, total](int visited, int) {
        progress(QStringLiteral("%1: %2 von %3").arg(caption).arg(visited).arg(total));
    };
}

} // namespace

namespace Marking {

Result markAll(Table& table, const Progress& progress) {
    TableWork::requireOpen(table);
    TableWork::postPending(table);
    TableWork::ControlsPause pause(table);
    const Result result = refreshedAfter(table, [&] {
        Result done;
        done.visited = table.recordCount();
        const CompiledFilter filter = table.activeCondition();
        const QString selected = column(table, QStringLiteral("Selected"));
        const QString sql =
            QStringLiteral("UPDATE %1 SET %2 = 1 WHERE rowid BETWEEN ? AND ? AND ifnull(%2, 0) = 0")
                .arg(Table::recordsTable(), selected) +
            andCondition(filter);
        done.changed =
            runInBatches(table, sortedKeys(table), {sql}, filter.binds,
                         visitedProgress(progress, QStringLiteral("Markieren"), done.visited));
        return done;
    });
    toEnd(table);
    return result;
}

Result unmarkAll(Table& table, const Progress& progress) {
    TableWork::requireOpen(table);
    TableWork::postPending(table);
    TableWork::ControlsPause pause(table);
    table.setFiltered(false);
    table.setFilter(QString());
    const Result result = refreshedAfter(table, [&] {
        Result done;
        done.visited = table.recordCount();
        const QString selected = column(table, QStringLiteral("Selected"));
        const QString update = QStringLiteral("UPDATE %1 SET %2 = 0 WHERE rowid BETWEEN ? AND ? ")
                                   .arg(Table::recordsTable(), selected);
        // Empty marks become false as well, but only records that were marked count.
        const QStringList statements = {update +
                                            QStringLiteral("AND ifnull(%1, 0) <> 0").arg(selected),
                                        update + QStringLiteral("AND %1 IS NULL").arg(selected)};
        done.changed =
            runInBatches(table, sortedKeys(table), statements, {},
                         visitedProgress(progress, QStringLiteral("Unmarkieren"), done.visited));
        return done;
    });
    toEnd(table);
    return result;
}

Result markIdRange(Table& table, int start, int end, const Progress& progress) {
    TableWork::requireOpen(table);
    TableWork::postPending(table);
    TableWork::ControlsPause pause(table);
    table.setFilter(QString());
    table.setFiltered(false);
    return reopenedAfter(table, [&] {
        Result done;
        done.visited = table.recordCount();
        const QString selected = column(table, QStringLiteral("Selected"));
        const QString id = column(table, QStringLiteral("ID"));
        // An empty ID reads as the whole number 0.
        const QString sql = QStringLiteral("UPDATE %1 SET %2 = 1 WHERE rowid BETWEEN ? AND ? AND "
                                           "ifnull(%3, 0) BETWEEN ? AND ? AND ifnull(%2, 0) = 0")
                                .arg(Table::recordsTable(), selected, id);
        done.changed =
            runInBatches(table, sortedKeys(table), {sql}, {qint64(start), qint64(end)},
                         visitedProgress(progress, QStringLiteral("Record"), done.visited));
        return done;
    });
}

Result deleteMarked(Table& table, const Progress& progress) {
    TableWork::requireOpen(table);
    TableWork::postPending(table);
    TableWork::ControlsPause pause(table);
    table.setFiltered(false);
    return reopenedAfter(table, [&] {
        Result done;
        done.visited = table.recordCount();
        const QString marked =
            QStringLiteral("ifnull(%1, 0) <> 0").arg(column(table, QStringLiteral("Selected")));
        qint64 toDelete = 0;
        table.forEachRow(
            QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(Table::recordsTable(), marked),
            {}, [&](sqlite3_stmt* row) {
                toDelete = sqlite3_column_int64(row, 0);
                return false;
            });
        const QString sql = QStringLiteral("DELETE FROM %1 WHERE rowid BETWEEN ? AND ? AND %2")
                                .arg(Table::recordsTable(), marked);
        int reported = 0;
        done.changed = runInBatches(
            table, sortedKeys(table), {sql}, {},
            [&](int, int deleted) {
                if (progress && deleted > reported) {
                    reported = deleted;
                    progress(QStringLiteral("Delete: %1").arg(deleted));
                }
            },
            [&] { table.setIndexesAsideFor(toDelete); });
        return done;
    });
}

int markByText(Table& table, const QString& text) {
    TableWork::requireOpen(table);
    TableWork::postPending(table);
    TableWork::ControlsPause pause(table);
    const int from = table.recNo();
    const int changed = refreshedAfter(table, [&] {
        if (text.isEmpty() || from < 0)
            return 0;
        const CompiledFilter filter = table.activeCondition();
        const QString selected = column(table, QStringLiteral("Selected"));
        QList<QVariant> binds;
        const QString match = TextMatch::firstMatchingField(table, text, binds);
        const QString unmarkedMatches = QStringLiteral("ifnull(%1, 0) = 0 AND %2 > 0%3")
                                            .arg(selected, match, andCondition(filter));
        binds += filter.binds;
        if (from == 0) {
            table.execute(QStringLiteral("UPDATE %1 SET %2 = 1 WHERE %3")
                              .arg(Table::recordsTable(), selected, unmarkedMatches),
                          binds);
            return sqlite3_changes(table.connection());
        }
        // From a later record on only the rest of the cursor's order counts.
        std::unordered_set<qint64> matching;
        table.forEachRow(QStringLiteral("SELECT rowid FROM %1 WHERE %2")
                             .arg(Table::recordsTable(), unmarkedMatches),
                         binds, [&](sqlite3_stmt* row) {
                             matching.insert(sqlite3_column_int64(row, 0));
                             return true;
                         });
        std::vector<qint64> keys;
        for (qint64 key : sortedKeys(table, from))
            if (matching.count(key))
                keys.push_back(key);
        int marked = 0;
        table.beginTransaction();
        try {
            for (size_t first = 0; first < keys.size(); first += kKeysPerStatement) {
                const size_t last = std::min(keys.size(), first + kKeysPerStatement);
                QList<QVariant> batch;
                QStringList marks;
                for (size_t i = first; i < last; ++i) {
                    batch.append(keys[i]);
                    marks.append(QStringLiteral("?"));
                }
                table.execute(
                    QStringLiteral("UPDATE %1 SET %2 = 1 WHERE rowid IN (%3)")
                        .arg(Table::recordsTable(), selected, marks.join(QStringLiteral(", "))),
                    batch);
                marked += sqlite3_changes(table.connection());
            }
        } catch (...) {
            commitWhatIsDone(table);
            throw;
        }
        table.commit();
        return marked;
    });
    toEnd(table);
    return changed;
}

QString emptyDatabase(Table& table) {
    TableWork::requireOpen(table);
    const QString tableFile = table.tableName();
    table.close();
    FileNames::remove(tableFile);
    FileNames::remove(DescriptorPaths::layoutForTableFile(tableFile));
    return DescriptorPaths::tableListForTableFile(tableFile);
}

} // namespace Marking
