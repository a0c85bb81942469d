#pragma once

#include "records/RecordSearch.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TMainForm;

// Finds, step by step, the next record of the open table in its current order and filter in
// which any field contains the search term, and can open the record editor on it. Created
// once; keeps its term between showings.
class TSearchForm : public QDialog {
    Q_OBJECT
public:
    explicit TSearchForm(TMainForm& main, QWidget* parent = nullptr);

public slots:
    void SearchNext();
    void Edit1Change();
    void BearbeitenBitBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormActivate();
    void clearResult();

    TMainForm& m_main;
    RecordSearch m_search;
    QLineEdit* m_edit = nullptr;
    QLabel* m_resultCaption = nullptr;
    QLabel* m_lines[3] = {};
    QPushButton* m_editButton = nullptr;
    QPushButton* m_ok = nullptr;
};
