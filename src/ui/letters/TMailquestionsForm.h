#pragma once

#include "WizardPage.h"

class TOpenOrNewForm;

// Page 1 of the letter wizard: how many marked records the serial letter is for.
class TMailquestionsForm : public WizardPage {
    Q_OBJECT
public:
    TMailquestionsForm(TMainForm& main, TOpenOrNewForm& next, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void WeiterBitBtnClick();

    TOpenOrNewForm& m_next;
    QLabel* m_count;
};
