#include "RecordGrid.h"

#include "RecordGridModel.h"
#include "foundations/Table.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Draws the cell as usual, then the picture of a logical value at its top left corner.
class LogicalCellDelegate : public QStyledItemDelegate {
public:
    explicit LogicalCellDelegate(RecordGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const RecordGridModel* model = m_grid->recordModel();
        if (!model || !model->isLogicalColumn(index.column()))
            return;
        const QPixmap& picture = m_grid->picture(index.data(RecordGridModel::LogicalRole).toBool());
        if (!picture.isNull())
            painter->drawPixmap(option.rect.topLeft() + QPoint(1, 1), picture);
    }

private:
    RecordGrid* m_grid;
};

} // namespace

RecordGrid::RecordGrid(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("DBGrid1"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setItemDelegate(new LogicalCellDelegate(this));
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setTextElideMode(Qt::ElideRight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(16);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setToolTip(QStringLiteral("Klicken Sie doppelt auf die Spalte \"Selected\" um die Adressen zu "
                              "markieren an die Sie ein eMail versenden wollen."));
}

void RecordGrid::setRecordModel(RecordGridModel* model) {
    m_model = model;
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (m_syncing || !current.isValid() || !m_model || !m_model->table())
                    return;
                Table* table = m_model->table();
                if (table->isOpen() && table->recNo() != current.row() &&
                    table->state() == Table::State::Browse)
                    table->moveTo(current.row());
            });
    connect(model, &QAbstractItemModel::modelReset, this, &RecordGrid::syncToTable);
    connect(model, &RecordGridModel::currentRecordMoved, this, &RecordGrid::syncToTable);
}

void RecordGrid::setCellPictures(const QPixmap& truePicture, const QPixmap& falsePicture) {
    m_true = truePicture;
    m_false = falsePicture;
    viewport()->update();
}

void RecordGrid::setGridFont(const QFont& font) {
    setFont(font);
    horizontalHeader()->setFont(font);
    const int rowHeight = std::max(QFontMetrics(font).height() + 6, 19);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setMinimumSectionSize(rowHeight);
    if (m_model)
        m_model->setTitleFont(font);
}

void RecordGrid::syncToTable() {
    if (!m_model || !m_model->table() || !m_model->table()->isOpen())
        return;
    const int row = m_model->table()->recNo();
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_syncing = true;
    const int column = std::max(0, currentIndex().column());
    const QModelIndex target = m_model->index(row, std::min(column, m_model->columnCount() - 1));
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
    m_syncing = false;
}
