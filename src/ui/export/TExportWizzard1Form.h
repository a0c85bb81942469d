#pragma once

#include "foundations/TwoChoiceWizard.h"

// Asks which kind of file to export to: a spreadsheet (upper choice) or a delimited text
// file (lower choice).
class TExportWizzard1Form : public TwoChoiceWizard {
    Q_OBJECT
public:
    TExportWizzard1Form(const ProductConfig& config, const Folders& folders, UserDialogs& dialogs,
                        Shell& shell, QWidget* parent = nullptr);

    bool workbookChosen() const { return choice() == Choice::Upper; }
    bool textChosen() const { return choice() == Choice::Lower; }
};
