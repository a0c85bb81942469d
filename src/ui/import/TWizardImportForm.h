#pragma once

#include "foundations/TwoChoiceWizard.h"

// Asks which kind of source to import from: a database or text file (upper choice) or the
// address book (lower choice).
class TWizardImportForm : public TwoChoiceWizard {
    Q_OBJECT
public:
    TWizardImportForm(const ProductConfig& config, const Folders& folders, UserDialogs& dialogs,
                      Shell& shell, QWidget* parent = nullptr);

    bool databaseChosen() const { return choice() == Choice::Upper; }
    bool addressBookChosen() const { return choice() == Choice::Lower; }
};
