#pragma once

#include "definitions/GridLayout.h"
#include "foundations/Table.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QVector>

// The grid's view of a table: rows are fetched on demand in blocks and only a bounded
// number of blocks is kept, so a table of a million records shows at once and scrolls in
// bounded memory. Columns are the grid's column list; the model never edits.
class RecordGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kBlockRows = 128;
    static constexpr int kCachedBlocks = 24;
    // The record's value for the cell, for logical cells drawn as pictures.
    static constexpr int LogicalRole = Qt::UserRole + 1;

    explicit RecordGridModel(QObject* parent = nullptr);

    void setTable(Table* table);
    Table* table() const { return m_table; }

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_columns; }
    GridColumn& column(int index) { return m_columns[index]; }
    int fieldOfColumn(int column) const { return m_fieldOfColumn.value(column, -1); }

    // Columns whose field the profile types as logical: drawn as pictures, toggled on click.
    void setLogicalFields(const QStringList& fieldNames);
    bool isLogicalColumn(int column) const;

    // The sort highlight of a column title (bold red); never stored in a layout.
    void setHighlighted(int column, bool highlighted);
    bool isHighlighted(int column) const;
    void clearHighlights();
    void setTitleFont(const QFont& font) { m_titleFont = font; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // The table's cursor moved to another record.
    void currentRecordMoved();

private:
    void reset();
    void refreshCurrentRow();
    void currentMoved();
    const QVector<QVariant>& rowAt(int row) const;
    void mapColumns();

    QPointer<Table> m_table;
    QList<GridColumn> m_columns;
    QHash<int, int> m_fieldOfColumn;
    QStringList m_logicalFields;
    QVector<bool> m_highlighted;
    QFont m_titleFont;
    int m_currentRow = -1;

    struct Block {
        QVector<QVector<QVariant>> rows;
        quint64 lastUse = 0;
    };
    mutable QHash<int, Block> m_blocks;
    mutable quint64 m_useCounter = 0;
};
