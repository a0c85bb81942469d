#pragma once

#include "WizardPage.h"

// Page 3 of the letter wizard: what to do with the template about to be opened.
class TVorlageWizzard : public WizardPage {
    Q_OBJECT
public:
    TVorlageWizzard(TMainForm& main, QWidget* parent);
};
