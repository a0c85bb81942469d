#include "BulkInsert.h"

#include "FieldValues.h"
#include "FilterParser.h"
#include "QuillonError.h"
#include "Table.h"
#include "TextHelpers.h"

#include <QDate>
#include <QTime>
#include <limits>
#include <sqlite3.h>

namespace {

QuillonError storeError(sqlite3* db) {
    return QuillonError(
        QStringLiteral("Fehler der Tabelle: %1").arg(QString::fromUtf8(sqlite3_errmsg(db))));
}

bool isTextKind(FieldKind kind) {
    return kind == FieldKind::Text || kind == FieldKind::Picture || kind == FieldKind::Memo;
}

// The key field the store keeps as SQLite's rowid, as Table keeps it.
int rowidField(const Table& table) {
    for (const IndexDef& index : table.indexes()) {
        const QStringList names = index.fieldNames();
        if (!index.primary || names.size() != 1)
            continue;
        const int field = table.findField(names.first());
        if (field >= 0 && table.fields()[field].kind == FieldKind::AutoInc)
            return field;
    }
    return -1;
}

bool blank(QStringView text) {
    for (QChar c : text)
        if (c.unicode() > 32)
            return false;
    return true;
}

} // namespace

BulkInsert::BulkInsert(Table& table, const QList<int>& fields, qint64 expectedRecords)
    : m_table(table) {
    if (!table.isOpen())
        throw QuillonError(QStringLiteral("Die Tabelle ist nicht geöffnet."));
    const QList<FieldDef>& defs = table.fields();
    const int keyField = rowidField(table);
    QStringList columns;
    for (int field : fields) {
        if (field < 0 || field >= defs.size())
            throw QuillonError(QStringLiteral("Feldnummer %1 gibt es nicht.").arg(field));
        if (defs[field].kind == FieldKind::AutoInc)
            throw QuillonError(QStringLiteral("Das Feld „%1“ vergibt die Tabelle selbst; es kann "
                                              "nicht gesetzt werden.")
                                   .arg(defs[field].name));
        for (const Slot& slot : m_slots)
            if (slot.field == field)
                throw QuillonError(
                    QStringLiteral("Das Feld „%1“ ist doppelt genannt.").arg(defs[field].name));
        Slot slot;
        slot.field = field;
        m_slots.push_back(slot);
        columns.append(quoteIdentifier(defs[field].name));
    }
    for (int i = 0; i < defs.size(); ++i) {
        if (defs[i].kind != FieldKind::AutoInc || i == keyField)
            continue;
        qint64 last = 0;
        table.forEachRow(QStringLiteral("SELECT ifnull(max(%1),0) FROM %2")
                             .arg(quoteIdentifier(defs[i].name), Table::recordsTable()),
                         {}, [&](sqlite3_stmt* row) {
                             last = sqlite3_column_int64(row, 0);
                             return false;
                         });
        m_counters.emplace_back(static_cast<int>(columns.size()), last);
        columns.append(quoteIdentifier(defs[i].name));
    }
    const auto prepare = [&](int rows) {
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Table::recordsTable());
        } else {
            const QString marks =
                u'(' + QStringLiteral("?, ").repeated(columns.size() - 1) + QStringLiteral("?)");
            QStringList values;
            for (int i = 0; i < rows; ++i)
                values.append(marks);
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                      .arg(Table::recordsTable(), columns.join(QStringLiteral(", ")),
                           values.join(QStringLiteral(", ")));
        }
        const QByteArray utf8 = sql.toUtf8();
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v3(table.connection(), utf8.constData(), static_cast<int>(utf8.size()),
                               SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK)
            throw storeError(table.connection());
        return statement;
    };
    m_statement = prepare(1);
    int rows = 1;
    const int variables = sqlite3_limit(table.connection(), SQLITE_LIMIT_VARIABLE_NUMBER, -1);
    if (expectedRecords >= kBatchRows * 16 && !columns.isEmpty() &&
        columns.size() * kBatchRows <= variables) {
        // Without the many-record statement the records go one at a time.
        try {
            m_batchStatement = prepare(kBatchRows);
            rows = kBatchRows;
        } catch (const QuillonError&) {
        }
    }
    m_rows.assign(static_cast<size_t>(rows), m_slots);
    m_tags.assign(static_cast<size_t>(rows), -1);
    setAsideIndexes(expectedRecords);
}

BulkInsert::~BulkInsert() {
    sqlite3_finalize(m_statement);
    sqlite3_finalize(m_batchStatement);
    // Records still held back are dropped: only finish() writes them.
    if (!m_finished)
        restoreCache();
}

void BulkInsert::restoreCache() {
    try {
        m_table.execute(QStringLiteral("PRAGMA cache_size = %1").arg(m_cacheSize));
    } catch (...) {
    }
}

void BulkInsert::setAsideIndexes(qint64 expectedRecords) {
    m_table.forEachRow(QStringLiteral("PRAGMA cache_size"), {}, [&](sqlite3_stmt* row) {
        m_cacheSize = sqlite3_column_int64(row, 0);
        return false;
    });
    // Room for the pages of a large import, instead of spilling them to the file midway.
    m_table.execute(QStringLiteral("PRAGMA cache_size = -16384"));
    m_table.setIndexesAsideFor(expectedRecords);
}

void BulkInsert::finish() {
    if (m_finished)
        return;
    m_finished = true;
    try {
        writeHeldBack();
    } catch (...) {
        restoreCache();
        throw;
    }
    restoreCache();
}

void BulkInsert::setLogical(int slot, bool value) {
    Slot& s = current().at(static_cast<size_t>(slot));
    if (m_table.fields()[s.field].kind != FieldKind::Logical)
        return setText(slot, value ? u"Wahr" : u"Falsch");
    s.bound = Slot::Bound::Integer;
    s.integer = value ? 1 : 0;
}

namespace {

// QStringView::toUtf8 without a new array for every value: the slot's array is reused.
void encodeUtf8(QStringView text, QByteArray& out) {
    out.resize(text.size() * 3);
    auto* p = reinterpret_cast<unsigned char*>(out.data());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t u = text[i].unicode();
        if (u < 0x80) {
            *p++ = static_cast<unsigned char>(u);
            continue;
        }
        if (u < 0x800) {
            *p++ = static_cast<unsigned char>(0xC0 | (u >> 6));
            *p++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
            continue;
        }
        if (QChar::isSurrogate(u)) {
            if (QChar::isHighSurrogate(u) && i + 1 < n && text[i + 1].isLowSurrogate()) {
                u = QChar::surrogateToUcs4(static_cast<char16_t>(u), text[i + 1].unicode());
                ++i;
                *p++ = static_cast<unsigned char>(0xF0 | (u >> 18));
                *p++ = static_cast<unsigned char>(0x80 | ((u >> 12) & 0x3F));
                *p++ = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
                *p++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
                continue;
            }
            u = QChar::ReplacementCharacter; // a lone surrogate has no UTF-8 form
        }
        *p++ = static_cast<unsigned char>(0xE0 | (u >> 12));
        *p++ = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
        *p++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
    }
    out.resize(reinterpret_cast<char*>(p) - out.data());
}

} // namespace

void BulkInsert::setText(int slot, QStringView text) {
    Slot& s = current().at(static_cast<size_t>(slot));
    const FieldDef& field = m_table.fields()[s.field];
    // Anything the quick paths below do not take goes through the store's own conversion,
    // so the error the user sees is the one Table::setText gives.
    const auto refuse = [&] {
        FieldValues::fromText(field, text.toString());
        throw QuillonError(QStringLiteral("„%1“ ist kein gültiger Wert für das Feld „%2“.")
                               .arg(text.toString(), field.name));
    };
    if (isTextKind(field.kind)) {
        if (text.isEmpty()) {
            s.bound = Slot::Bound::Null;
            return;
        }
        const int limit = field.kind == FieldKind::Picture ? 2 : field.size;
        if (field.kind != FieldKind::Memo && text.size() > limit)
            refuse();
        encodeUtf8(text, s.text);
        s.bound = Slot::Bound::Text;
        return;
    }
    if (blank(text)) {
        s.bound = Slot::Bound::Null;
        return;
    }
    const QString value = text.toString();
    switch (field.kind) {
    case FieldKind::Integer: {
        qint64 v = 0;
        if (!FieldValues::parseInteger(value, &v) || v < std::numeric_limits<qint32>::min() ||
            v > std::numeric_limits<qint32>::max())
            refuse();
        s.bound = Slot::Bound::Integer;
        s.integer = v;
        return;
    }
    case FieldKind::Logical: {
        bool v = false;
        if (!FieldValues::parseLogical(value, &v))
            refuse();
        s.bound = Slot::Bound::Integer;
        s.integer = v ? 1 : 0;
        return;
    }
    case FieldKind::Float:
    case FieldKind::Currency: {
        double v = 0;
        if (!FieldValues::parseNumber(value, &v))
            refuse();
        s.bound = Slot::Bound::Real;
        s.real = v;
        return;
    }
    case FieldKind::Date: {
        QDate v;
        if (!FieldValues::parseDate(value, &v))
            refuse();
        s.text = v.toString(Qt::ISODate).toUtf8();
        s.bound = Slot::Bound::Text;
        return;
    }
    case FieldKind::Time: {
        QTime v;
        if (!FieldValues::parseTime(value, &v))
            refuse();
        s.text = v.toString(QStringLiteral("hh:mm:ss")).toUtf8();
        s.bound = Slot::Bound::Text;
        return;
    }
    default:
        throw QuillonError(QStringLiteral("Das Feld „%1“ vergibt die Tabelle selbst; es kann "
                                          "nicht gesetzt werden.")
                               .arg(field.name));
    }
}

void BulkInsert::checkRequired(const std::vector<Slot>& row) const {
    const QList<FieldDef>& defs = m_table.fields();
    for (int i = 0; i < defs.size(); ++i) {
        if (!defs[i].required || defs[i].kind == FieldKind::AutoInc)
            continue;
        bool set = false;
        for (const Slot& slot : row)
            set = set || (slot.field == i && slot.bound != Slot::Bound::Null);
        if (!set)
            throw QuillonError(
                QStringLiteral("Das Feld „%1“ muss einen Wert haben.").arg(defs[i].name));
    }
}

void BulkInsert::bindRow(sqlite3_stmt* statement, int firstColumn, const std::vector<Slot>& row,
                         qint64 counterOffset) {
    for (size_t i = 0; i < row.size(); ++i) {
        const Slot& slot = row[i];
        const int column = firstColumn + static_cast<int>(i);
        switch (slot.bound) {
        case Slot::Bound::Null:
            sqlite3_bind_null(statement, column);
            break;
        case Slot::Bound::Integer:
            sqlite3_bind_int64(statement, column, slot.integer);
            break;
        case Slot::Bound::Real:
            sqlite3_bind_double(statement, column, slot.real);
            break;
        case Slot::Bound::Text:
            sqlite3_bind_text(statement, column, slot.text.constData(),
                              static_cast<int>(slot.text.size()), SQLITE_STATIC);
            break;
        }
    }
    for (auto& [column, last] : m_counters)
        sqlite3_bind_int64(statement, firstColumn + column, last + 1 + counterOffset);
}

void BulkInsert::clearRow(std::vector<Slot>& row) {
    for (Slot& slot : row)
        slot.bound = Slot::Bound::Null;
}

void BulkInsert::writeRow(size_t row) {
    bindRow(m_statement, 1, m_rows[row], 0);
    if (sqlite3_step(m_statement) != SQLITE_DONE) {
        const QuillonError error = storeError(m_table.connection());
        sqlite3_reset(m_statement);
        throw RowError(error.message(), m_tags[row]);
    }
    sqlite3_reset(m_statement);
    for (auto& counter : m_counters)
        ++counter.second;
    ++m_inserted;
    m_lastKey = sqlite3_last_insert_rowid(m_table.connection());
}

// Writes the held-back records one by one, up to a refused one.
void BulkInsert::writeHeldBack() {
    const int filled = m_filled;
    m_filled = 0;
    for (int row = 0; row < filled; ++row) {
        try {
            writeRow(static_cast<size_t>(row));
        } catch (...) {
            for (auto& held : m_rows)
                clearRow(held);
            throw;
        }
        clearRow(m_rows[static_cast<size_t>(row)]);
    }
}

void BulkInsert::insert(qint64 tag) {
    if (m_finished)
        throw QuillonError(QStringLiteral("Der Import ist schon abgeschlossen."));
    checkRequired(current());
    m_tags[static_cast<size_t>(m_filled)] = tag;
    ++m_filled;
    if (m_filled < static_cast<int>(m_rows.size()))
        return;
    if (!m_batchStatement)
        return writeHeldBack();
    const int perRow = static_cast<int>(m_slots.size() + m_counters.size());
    for (size_t row = 0; row < m_rows.size(); ++row)
        bindRow(m_batchStatement, 1 + static_cast<int>(row) * perRow, m_rows[row],
                static_cast<qint64>(row));
    if (sqlite3_step(m_batchStatement) != SQLITE_DONE) {
        // The statement changed nothing; one by one finds the record that was refused.
        sqlite3_reset(m_batchStatement);
        return writeHeldBack();
    }
    sqlite3_reset(m_batchStatement);
    for (auto& counter : m_counters)
        counter.second += static_cast<qint64>(m_rows.size());
    m_inserted += static_cast<qint64>(m_rows.size());
    m_lastKey = sqlite3_last_insert_rowid(m_table.connection());
    m_filled = 0;
    for (auto& row : m_rows)
        clearRow(row);
}
