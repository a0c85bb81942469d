#pragma once

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
    // indexes are dropped and built again by finish(), which is far quicker than keeping
    // them up to date record by record.
    BulkInsert(Table& table, const QList<int>& fields, qint64 expectedRecords = 0);
    ~BulkInsert();
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;

    int slotCount() const { return static_cast<int>(m_slots.size()); }
    // Converts the text for the field of the slot; a text that does not fit is a
    // QuillonError and leaves the record as it was.
    void setText(int slot, QStringView text);
    void setLogical(int slot, bool value);
    // Writes the record and starts an empty one. Returns the new record's key.
    qint64 insert();
    // Builds the indexes set aside again; needed before the transaction is committed, also
    // after a failure, so the records inserted so far can be kept.
    void finish();
    // True when finish() has indexes to build, which takes a while for many records.
    bool rebuildsIndexes() const { return !m_droppedIndexes.isEmpty(); }

private:
    void setAsideIndexes(qint64 expectedRecords);

    struct Slot {
        int field = -1;
        enum class Bound { Null, Integer, Real, Text } bound = Bound::Null;
        qint64 integer = 0;
        double real = 0;
        QByteArray text;
    };

    Table& m_table;
    std::vector<Slot> m_slots;
    sqlite3_stmt* m_statement = nullptr;
    // Auto-increment fields other than the key are numbered here, as post() numbers them.
    std::vector<std::pair<int, qint64>> m_counters;
    QStringList m_droppedIndexes; // their CREATE statements
    qint64 m_cacheSize = 0;
    bool m_finished = false;
};
