#pragma once

#include <QDialog>
#include <QList>

class QLineEdit;
class TMainForm;

// Edits the eight pairs salutation term -> formula of Grussformel.txt.
class TGrussformelForm : public QDialog {
    Q_OBJECT
public:
    TGrussformelForm(TMainForm& main, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void OKBitBtnClick();

    TMainForm& m_main;
    QList<QLineEdit*> m_terms;
    QList<QLineEdit*> m_formulas;
};
