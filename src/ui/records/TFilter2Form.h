#pragma once

#include <QDialog>

class QLineEdit;
class TMainForm;

// Marks every record of the open table, from the current one on, in which any field
// contains a text. Created once; keeps its text between showings.
class TFilter2Form : public QDialog {
    Q_OBJECT
public:
    explicit TFilter2Form(TMainForm& main, QWidget* parent = nullptr);

public slots:
    void MarkByText();
    void Edit1Change();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TMainForm& m_main;
    QLineEdit* m_edit = nullptr;
};
