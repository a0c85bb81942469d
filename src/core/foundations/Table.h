#pragma once

#include "FilterParser.h"
#include "TableDefinition.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// One table of the store: an SQLite file holding the records and the field and index
// definitions. The cursor runs over the ordered keys of the records that pass the filter,
// so a view can show millions of records without loading them.
class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Bookmark = qint64;

    // Creates the table file, replacing an existing one. A definition the store cannot hold
    // (no fields, a text size out of range, an index over a missing field, a second primary
    // index, a secondary index without a primary one) is a QuillonError; nothing is written.
    static void create(const QString& path, const TableDefinition& definition);

    explicit Table(QObject* parent = nullptr);
    ~Table() override;

    void setTableName(const QString& path);
    const QString& tableName() const { return m_path; }

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    // An index name selects that index's order; the empty name is the primary order.
    void setIndexName(const QString& name);
    const QString& indexName() const { return m_indexName; }
    const QList<IndexDef>& indexes() const { return m_indexes; }

    void setFilter(const QString& expression);
    const QString& filter() const { return m_filterText; }
    // Switching posts a pending change and moves to the first passing record.
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    int recordCount() const { return static_cast<int>(m_keys.size()); }
    // Position of the current record in the filtered order, -1 when there is none.
    int recNo() const { return m_pos; }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_keys.empty(); }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    Bookmark bookmark() const;
    bool gotoBookmark(Bookmark bookmark);
    bool bookmarkValid(Bookmark bookmark) const;

    void append();
    void edit();
    void post();
    void cancel();
    // Deletes the current record; the cursor stands on the following one afterwards.
    void deleteRecord();

    const QList<FieldDef>& fields() const { return m_fields; }
    int fieldCount() const { return m_fields.size(); }
    // -1 when the table has no such field (names compare ignoring case).
    int findField(const QString& name) const;
    // A QuillonError for an unknown name.
    int fieldIndex(const QString& name) const;

    QVariant value(int field) const;
    QString text(int field) const;
    QString text(const QString& name) const { return text(fieldIndex(name)); }
    bool isNull(int field) const { return value(field).isNull(); }
    bool asBool(int field) const { return value(field).toBool(); }
    // Assignments need the edit or insert state; text is converted to the field's kind.
    void setValue(int field, const QVariant& value);
    void setText(int field, const QString& text);
    void setText(const QString& name, const QString& text) { setText(fieldIndex(name), text); }

    // The values of the record at a row of the filtered order, without moving the cursor.
    QVector<QVariant> rowValues(int row) const;
    Bookmark keyAt(int row) const { return m_keys[static_cast<size_t>(row)]; }

    // Reloads the keys after changes made beside the cursor (set-based commands), staying
    // on the same record when it still passes.
    void refresh();

    // Set-based work for the bulk commands: the connection, the SQL condition of the active
    // filter (empty when none) and the binds that go with it.
    sqlite3* connection() const { return m_db; }
    CompiledFilter activeCondition() const;
    void execute(const QString& sql, const QList<QVariant>& binds = {});
    // Hands every result row of a query to the callback until it returns false; for
    // set-based commands that read many rows without moving the cursor.
    void forEachRow(const QString& sql, const QList<QVariant>& binds,
                    const std::function<bool(sqlite3_stmt*)>& row) const;
    // Hands the values of every record that passes the active filter to the callback, in the
    // cursor's order, read through one statement; stops when the callback returns false.
    // Fields before firstField are not read and stay empty.
    void forEachRecord(const std::function<bool(const QVector<QVariant>&)>& record,
                       int firstField = 0) const;
    // The same over the records that pass the filter expression instead of the active filter
    // (a QuillonError when the expression cannot be read), in the cursor's order; the
    // table's own filter and keys stay as they are.
    void forEachRecordWhere(const QString& expression,
                            const std::function<bool(const QVector<QVariant>&)>& record,
                            int firstField = 0) const;
    // Before a bulk change of that many records: when they are many compared with the records
    // there, drops the non-unique indexes other than the current order's, as keeping them up
    // to date record by record costs far more than building each again when an order first
    // needs it. True when indexes were dropped.
    bool setIndexesAsideFor(qint64 records);
    void beginTransaction();
    void commit();
    void rollback();
    // The ORDER BY terms of the cursor's order, for set-based readers that keep it.
    QString orderClause() const;

    // Bound views stop following the cursor until the matching enableControls.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    static QString recordsTable() { return QStringLiteral("records"); }

signals:
    void afterOpen();
    void afterPost();
    void afterDelete();
    void afterClose();
    // For bound views: the current record moved, the current record's values changed, or
    // the whole set of rows changed (filter, order, refresh, records added or removed).
    void currentChanged();
    void recordChanged();
    void dataSetChanged();
    void stateChanged();

private:
    void loadSchema();
    void forEachRecordIn(const CompiledFilter& condition,
                         const std::function<bool(const QVector<QVariant>&)>& record,
                         int firstField) const;
    // The index the order uses, or -1 for the primary order without a primary index.
    int chosenIndex() const;
    // Bulk inserts leave secondary indexes to be built when an order first needs them, so
    // the order's index is created here when it is missing.
    void ensureOrderIndex();
    void reloadKeys();
    void locate(Bookmark key);
    void setPosition(int pos);
    void setState(State state);
    void requireOpen() const;
    void requireBrowse();
    QVector<QVariant> readRecord(Bookmark key) const;
    void notifyCurrent();
    void notifyDataSet();
    void checkRequired() const;

    QString m_path;
    QString m_folder;
    sqlite3* m_db = nullptr;
    mutable sqlite3_stmt* m_rowStatement = nullptr;
    State m_state = State::Inactive;
    QList<FieldDef> m_fields;
    QList<IndexDef> m_indexes;
    int m_rowidField = -1;
    QString m_indexName;
    QString m_filterText;
    QString m_appliedFilter;
    bool m_filtered = false;
    CompiledFilter m_condition;

    std::vector<Bookmark> m_keys;
    int m_pos = -1;
    bool m_eof = true;
    bool m_bof = true;

    mutable QVector<QVariant> m_current;
    mutable Bookmark m_currentKey = -1;
    QVector<QVariant> m_buffer;
    QVector<bool> m_modified;
    int m_disableCount = 0;
    bool m_dataSetDirty = false;
};
