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
    QString sql;
    if (columns.isEmpty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Table::recordsTable());
    } else {
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i)
            marks.append(QStringLiteral("?"));
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(Table::recordsTable(), columns.join(QStringLiteral(", ")),
                       marks.join(QStringLiteral(", ")));
    }
    setAsideIndexes(expectedRecords);
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v3(table.connection(), utf8.constData(), static_cast<int>(utf8.size()),
                           SQLITE_PREPARE_PERSISTENT, &m_statement, nullptr) != SQLITE_OK)
        throw storeError(table.connection());
}

BulkInsert::~BulkInsert() {
    sqlite3_finalize(m_statement);
    if (!m_finished) {
        try {
            finish();
        } catch (...) {
        }
    }
}

void BulkInsert::setAsideIndexes(qint64 expectedRecords) {
    constexpr qint64 kManyRecords = 10000;
    m_table.forEachRow(QStringLiteral("PRAGMA cache_size"), {}, [&](sqlite3_stmt* row) {
        m_cacheSize = sqlite3_column_int64(row, 0);
        return false;
    });
    // Room for the pages of a large import, instead of spilling them to the file midway.
    m_table.execute(QStringLiteral("PRAGMA cache_size = -131072"));
    if (expectedRecords < kManyRecords)
        return;
    qint64 existing = 0;
    m_table.forEachRow(QStringLiteral("SELECT count(*) FROM %1").arg(Table::recordsTable()), {},
                       [&](sqlite3_stmt* row) {
                           existing = sqlite3_column_int64(row, 0);
                           return false;
                       });
    if (expectedRecords * 4 < existing)
        return;
    // Unique indexes stay, so a duplicate is still refused at its own record.
    QStringList names;
    m_table.forEachRow(
        QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' "
                       "AND tbl_name = ? AND sql IS NOT NULL"),
        {Table::recordsTable()}, [&](sqlite3_stmt* row) {
            const QString sql =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, 1)));
            if (!sql.startsWith(QStringLiteral("CREATE UNIQUE"), Qt::CaseInsensitive)) {
                names.append(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, 0))));
                m_droppedIndexes.append(sql);
            }
            return true;
        });
    for (const QString& name : names)
        m_table.execute(QStringLiteral("DROP INDEX %1").arg(quoteIdentifier(name)));
}

void BulkInsert::finish() {
    if (m_finished)
        return;
    m_finished = true;
    while (!m_droppedIndexes.isEmpty())
        m_table.execute(m_droppedIndexes.takeFirst());
    m_table.execute(QStringLiteral("PRAGMA cache_size = %1").arg(m_cacheSize));
}

void BulkInsert::setLogical(int slot, bool value) {
    Slot& s = m_slots.at(static_cast<size_t>(slot));
    if (m_table.fields()[s.field].kind != FieldKind::Logical)
        return setText(slot, value ? u"Wahr" : u"Falsch");
    s.bound = Slot::Bound::Integer;
    s.integer = value ? 1 : 0;
}

void BulkInsert::setText(int slot, QStringView text) {
    Slot& s = m_slots.at(static_cast<size_t>(slot));
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
        s.text = text.toUtf8();
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

qint64 BulkInsert::insert() {
    const QList<FieldDef>& defs = m_table.fields();
    for (int i = 0; i < defs.size(); ++i) {
        if (!defs[i].required || defs[i].kind == FieldKind::AutoInc)
            continue;
        bool set = false;
        for (const Slot& slot : m_slots)
            set = set || (slot.field == i && slot.bound != Slot::Bound::Null);
        if (!set)
            throw QuillonError(
                QStringLiteral("Das Feld „%1“ muss einen Wert haben.").arg(defs[i].name));
    }
    for (size_t i = 0; i < m_slots.size(); ++i) {
        const Slot& slot = m_slots[i];
        const int column = static_cast<int>(i) + 1;
        switch (slot.bound) {
        case Slot::Bound::Null:
            sqlite3_bind_null(m_statement, column);
            break;
        case Slot::Bound::Integer:
            sqlite3_bind_int64(m_statement, column, slot.integer);
            break;
        case Slot::Bound::Real:
            sqlite3_bind_double(m_statement, column, slot.real);
            break;
        case Slot::Bound::Text:
            sqlite3_bind_text(m_statement, column, slot.text.constData(),
                              static_cast<int>(slot.text.size()), SQLITE_STATIC);
            break;
        }
    }
    for (auto& [column, last] : m_counters)
        sqlite3_bind_int64(m_statement, column + 1, last + 1);
    if (sqlite3_step(m_statement) != SQLITE_DONE) {
        const QuillonError error = storeError(m_table.connection());
        sqlite3_reset(m_statement);
        throw error;
    }
    sqlite3_reset(m_statement);
    for (auto& counter : m_counters)
        ++counter.second;
    for (Slot& slot : m_slots)
        slot.bound = Slot::Bound::Null;
    return sqlite3_last_insert_rowid(m_table.connection());
}
