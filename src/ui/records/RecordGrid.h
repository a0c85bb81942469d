#pragma once

#include <QPixmap>
#include <QTableView>

class RecordGridModel;

// The record grid DBGrid1: no editing inside the grid, movable and resizable columns,
// logical cells drawn as pictures, a row indicator on the current record.
class RecordGrid : public QTableView {
    Q_OBJECT
public:
    explicit RecordGrid(QWidget* parent = nullptr);

    void setRecordModel(RecordGridModel* model);
    RecordGridModel* recordModel() const { return m_model; }
    void setCellPictures(const QPixmap& truePicture, const QPixmap& falsePicture);
    const QPixmap& picture(bool value) const { return value ? m_true : m_false; }
    void setGridFont(const QFont& font);

    // Follows the table's cursor; a click on a row moves the cursor there.
    void syncToTable();

private:
    RecordGridModel* m_model = nullptr;
    QPixmap m_true;
    QPixmap m_false;
    bool m_syncing = false;
};
