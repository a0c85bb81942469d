#include "RecordGridModel.h"

#include "foundations/FieldValues.h"
#include "foundations/Table.h"

#include <QColor>
#include <QFont>

RecordGridModel::RecordGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordGridModel::setTable(Table* table) {
    if (m_table == table)
        return;
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    beginResetModel();
    m_table = table;
    m_blocks.clear();
    mapColumns();
    m_currentRow = m_table && m_table->isOpen() ? m_table->recNo() : -1;
    endResetModel();
    if (!m_table)
        return;
    connect(m_table, &Table::dataSetChanged, this, &RecordGridModel::reset);
    connect(m_table, &Table::recordChanged, this, &RecordGridModel::refreshCurrentRow);
    connect(m_table, &Table::currentChanged, this, &RecordGridModel::currentMoved);
    connect(m_table, &QObject::destroyed, this, [this] { setTable(nullptr); });
}

void RecordGridModel::setColumns(const QList<GridColumn>& columns) {
    beginResetModel();
    m_columns = columns;
    m_highlighted = QVector<bool>(columns.size(), false);
    mapColumns();
    endResetModel();
}

void RecordGridModel::mapColumns() {
    m_fieldOfColumn.clear();
    if (!m_table || !m_table->isOpen())
        return;
    for (int i = 0; i < m_columns.size(); ++i)
        m_fieldOfColumn.insert(i, m_table->findField(m_columns[i].fieldName));
}

void RecordGridModel::setLogicalFields(const QStringList& fieldNames) {
    m_logicalFields = fieldNames;
    if (!m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(std::max(0, rowCount() - 1), m_columns.size() - 1));
}

bool RecordGridModel::isLogicalColumn(int column) const {
    return column >= 0 && column < m_columns.size() &&
           m_logicalFields.contains(m_columns[column].fieldName);
}

void RecordGridModel::setHighlighted(int column, bool highlighted) {
    if (column < 0 || column >= m_highlighted.size())
        return;
    m_highlighted[column] = highlighted;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

bool RecordGridModel::isHighlighted(int column) const {
    return column >= 0 && column < m_highlighted.size() && m_highlighted[column];
}

void RecordGridModel::clearHighlights() {
    m_highlighted.fill(false);
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, m_columns.size() - 1);
}

void RecordGridModel::reset() {
    beginResetModel();
    m_blocks.clear();
    mapColumns();
    m_currentRow = m_table && m_table->isOpen() ? m_table->recNo() : -1;
    endResetModel();
}

void RecordGridModel::refreshCurrentRow() {
    if (!m_table || !m_table->isOpen() || m_table->recNo() < 0)
        return;
    const int row = m_table->recNo();
    m_blocks.remove(row / kBlockRows);
    if (row < rowCount() && !m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, m_columns.size() - 1));
}

void RecordGridModel::currentMoved() {
    const int previous = m_currentRow;
    m_currentRow = m_table && m_table->isOpen() ? m_table->recNo() : -1;
    if (previous >= 0 && previous < rowCount())
        emit headerDataChanged(Qt::Vertical, previous, previous);
    if (m_currentRow >= 0 && m_currentRow < rowCount())
        emit headerDataChanged(Qt::Vertical, m_currentRow, m_currentRow);
    emit currentRecordMoved();
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_table || !m_table->isOpen() || m_columns.isEmpty())
        return 0;
    return m_table->recordCount();
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns.size();
}

const QVector<QVariant>& RecordGridModel::rowAt(int row) const {
    const int blockNumber = row / kBlockRows;
    auto it = m_blocks.find(blockNumber);
    if (it == m_blocks.end()) {
        if (m_blocks.size() >= kCachedBlocks) {
            auto oldest = m_blocks.begin();
            for (auto b = m_blocks.begin(); b != m_blocks.end(); ++b)
                if (b->lastUse < oldest->lastUse)
                    oldest = b;
            m_blocks.erase(oldest);
        }
        Block block;
        const int first = blockNumber * kBlockRows;
        const int last = std::min(m_table->recordCount(), first + kBlockRows);
        block.rows.reserve(last - first);
        for (int r = first; r < last; ++r)
            block.rows.append(m_table->rowValues(r));
        it = m_blocks.insert(blockNumber, block);
    }
    it->lastUse = ++m_useCounter;
    return it->rows[row - blockNumber * kBlockRows];
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_table || !m_table->isOpen())
        return {};
    if (role != Qt::DisplayRole && role != LogicalRole && role != Qt::ToolTipRole)
        return {};
    const int field = fieldOfColumn(index.column());
    if (field < 0)
        return {};
    const bool editingHere =
        index.row() == m_table->recNo() && (m_table->state() == Table::State::Edit);
    const QVariant value = editingHere ? m_table->value(field) : [&] {
        const QVector<QVariant>& values = rowAt(index.row());
        return field < values.size() ? values[field] : QVariant();
    }();
    if (role == LogicalRole)
        return value.isNull() ? false : value.toBool();
    if (isLogicalColumn(index.column()))
        return {};
    return FieldValues::toText(m_table->fields()[field], value);
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section == m_currentRow ? QStringLiteral("▶") : QString();
        return {};
    }
    if (section < 0 || section >= m_columns.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_columns[section].title;
    case Qt::ForegroundRole:
        return isHighlighted(section) ? QColor(Qt::red) : QColor(Qt::black);
    case Qt::FontRole:
        if (isHighlighted(section)) {
            QFont font = m_titleFont;
            font.setBold(true);
            return font;
        }
        return m_titleFont;
    default:
        return {};
    }
}
