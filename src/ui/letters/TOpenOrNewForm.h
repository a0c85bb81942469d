#pragma once

#include "WizardPage.h"

class QRadioButton;

// Page 2 of the letter wizard: an own document or a new letter, label or envelope from a
// template. The choice stays for the next run.
class TOpenOrNewForm : public WizardPage {
    Q_OBJECT
public:
    enum class Choice { None, OwnDocument, Letter, Labels, Envelope };

    TOpenOrNewForm(TMainForm& main, QWidget* parent);

    Choice choice() const;
    // True when page 1 is to close behind this page.
    bool endsWizard() const { return m_endsWizard; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void WeiterBitBtnClick();
    void AbbrechenBitBtnClick();

    bool m_endsWizard = false;
    QRadioButton* m_own;
    QRadioButton* m_letter;
    QRadioButton* m_labels;
    QRadioButton* m_envelope;
};
