#pragma once

#include "QuillonError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

class Table;
struct sqlite3_stmt;

// Appends many records to an open table through one prepared statement, for imports.
// Values are given as text and converted to the field's kind exactly as Table::setText
// does (the same errors, naming the field); fields left unset get what a new record gets.
// The caller brackets the work in a transaction, calls finish() before committing and
// Table::refresh() afterwards, as the cursor does not follow these inserts.
class BulkInsert {
public:
    // The fields (indexes into table.fields()) the records may set; each may be named once,
    // and auto-increment fields not at all (the store numbers them).
    // When many records are expected compared with those already there, the non-unique
    // indexes are dropped; the table builds each again when an order first needs it, which
    // is far quicker than keeping them up to date record by record and spares the import
    // the indexes nobody sorts by.
    BulkInsert(Table& table, const QList<int>& fields, qint64 expectedRecords = 0);
    ~BulkInsert();
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;

    int slotCount() const { return static_cast<int>(m_slots.size()); }
    // Converts the text for the field of the slot; a text that does not fit is a
    // QuillonError and leaves the record as it was.
    void setText(int slot, QStringView text);
    void setLogical(int slot, bool value);
    // A record the store refused, with the tag it was handed over with.
    class RowError : public QuillonError {
    public:
        RowError(const QString& message, qint64 tag) : QuillonError(message), m_tag(tag) {}
        qint64 tag() const { return m_tag; }

    private:
        qint64 m_tag;
    };

    // Hands the record over and starts an empty one. Records may be written some at a time
    // (many per statement, which saves the store's work per statement); a record the store
    // refuses is a RowError carrying its tag, the records handed over before it are written
    // and those after it are dropped.
    void insert(qint64 tag = -1);
    // Writes the records still held back and ends the bulk work on the connection; call it
    // before the transaction is committed, also after a failure, so the records handed over
    // so far are kept. A RowError as for insert().
    void finish();
    // The records written so far and the key of the last one (-1 before the first).
    qint64 inserted() const { return m_inserted; }
    qint64 lastKey() const { return m_lastKey; }

private:
    static constexpr int kBatchRows = 64;
    void setAsideIndexes(qint64 expectedRecords);
    // Puts the connection's page cache back as it was; never throws.
    void restoreCache();
    struct Slot;
    std::vector<Slot>& current() { return m_rows[static_cast<size_t>(m_filled)]; }
    void checkRequired(const std::vector<Slot>& row) const;
    void bindRow(sqlite3_stmt* statement, int firstColumn, const std::vector<Slot>& row,
                 qint64 counterOffset);
    void writeHeldBack();
    void writeRow(size_t row);
    void clearRow(std::vector<Slot>& row);

    struct Slot {
        int field = -1;
        enum class Bound { Null, Integer, Real, Text } bound = Bound::Null;
        qint64 integer = 0;
        double real = 0;
        QByteArray text;
    };

    Table& m_table;
    std::vector<Slot> m_slots; // the fields; values live in m_rows
    sqlite3_stmt* m_statement = nullptr;
    // Many records per statement for large imports; one otherwise.
    sqlite3_stmt* m_batchStatement = nullptr;
    std::vector<std::vector<Slot>> m_rows;
    std::vector<qint64> m_tags;
    int m_filled = 0;
    qint64 m_inserted = 0;
    qint64 m_lastKey = -1;
    // Auto-increment fields other than the key are numbered here, as post() numbers them.
    std::vector<std::pair<int, qint64>> m_counters;
    qint64 m_cacheSize = 0;
    bool m_finished = false;
};
