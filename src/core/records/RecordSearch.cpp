#include "RecordSearch.h"

#include "TableWork.h"
#include "TextMatch.h"

#include <QHash>
#include <algorithm>
#include <sqlite3.h>

namespace {

// Rows looked up one by one before the search reads the whole table at once: a common term
// is found among them without a pass over a million records.
constexpr int kNearRows = 256;

struct Hit {
    int row = -1;
    int field = -1;
};

// The matching field (from 1) of every record among the rows from..to-1 that contains the
// term.
QHash<qint64, int> matchesAmongRows(Table& table, const QString& term, int from, int to) {
    QList<QVariant> binds;
    const QString match = TextMatch::firstMatchingField(table, term, binds);
    QStringList marks;
    for (int row = from; row < to; ++row) {
        binds.append(table.keyAt(row));
        marks.append(QStringLiteral("?"));
    }
    QHash<qint64, int> matches;
    table.forEachRow(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)")
                         .arg(match, Table::recordsTable(), marks.join(QStringLiteral(", "))),
                     binds, [&](sqlite3_stmt* row) {
                         const int field = sqlite3_column_int(row, 1);
                         if (field > 0)
                             matches.insert(sqlite3_column_int64(row, 0), field);
                         return true;
                     });
    return matches;
}

// Every record passing the filter that contains the term, read in one pass.
QHash<qint64, int> allMatches(Table& table, const QString& term) {
    QList<QVariant> matchBinds;
    const QString match = TextMatch::firstMatchingField(table, term, matchBinds);
    const CompiledFilter filter = table.activeCondition();
    QString condition = match + QStringLiteral(" > 0");
    if (!filter.sql.isEmpty())
        condition += QStringLiteral(" AND (%1)").arg(filter.sql);
    // The expression stands in the result and in the condition.
    const QList<QVariant> binds = matchBinds + matchBinds + filter.binds;
    QHash<qint64, int> matches;
    table.forEachRow(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %3")
                         .arg(match, Table::recordsTable(), condition),
                     binds, [&](sqlite3_stmt* row) {
                         matches.insert(sqlite3_column_int64(row, 0), sqlite3_column_int(row, 1));
                         return true;
                     });
    return matches;
}

Hit firstHitAmong(const Table& table, const QHash<qint64, int>& matches, int from, int to) {
    for (int row = from; row < to; ++row) {
        const auto it = matches.constFind(table.keyAt(row));
        if (it != matches.constEnd())
            return {row, it.value() - 1};
    }
    return {};
}

// The first row from the given one on, in the cursor's order, that contains the term.
Hit findFrom(Table& table, const QString& term, int from) {
    const int count = table.recordCount();
    const int near = std::min(count, from + kNearRows);
    const Hit hit = firstHitAmong(table, matchesAmongRows(table, term, from, near), from, near);
    if (hit.row >= 0 || near == count)
        return hit;
    return firstHitAmong(table, allMatches(table, term), near, count);
}

} // namespace

void RecordSearch::setTerm(const QString& term, Table* table) {
    m_term = term;
    m_foundBefore = false;
    if (table && table->isOpen())
        table->first();
}

RecordSearch::Result RecordSearch::step(Table& table) {
    TableWork::requireOpen(table);
    TableWork::postPending(table);
    TableWork::ControlsPause pause(table);
    if (m_foundBefore)
        table.next();
    const int current = table.recNo();
    Result result;
    if (current >= 0 && !m_term.isEmpty()) {
        if (table.eof()) {
            // The last record again, after the previous step ended there.
            const QHash<qint64, int> matches =
                matchesAmongRows(table, m_term, current, current + 1);
            if (!matches.isEmpty()) {
                m_foundBefore = true;
                result.line1 = noFurtherResultText();
                return result;
            }
        } else {
            const Hit hit = findFrom(table, m_term, current);
            if (hit.row >= 0) {
                table.moveTo(hit.row);
                m_foundBefore = true;
                result.hit = true;
                result.field = hit.field;
                result.bookmark = table.bookmark();
                result.line1 = QStringLiteral("ID = ") + table.text(QStringLiteral("ID"));
                result.line2 = QStringLiteral("Name = ") + table.text(QStringLiteral("Name"));
                result.line3 = table.text(hit.field);
                return result;
            }
        }
    }
    table.last();
    table.next();
    result.line1 = m_foundBefore ? noFurtherResultText() : noResultText();
    return result;
}
