#include "TWizardImportForm.h"

#include <QSize>

TWizardImportForm::TWizardImportForm(const ProductConfig& config, const Folders& folders,
                                     UserDialogs& dialogs, Shell& shell, QWidget* parent)
    : TwoChoiceWizard(config, folders, dialogs, shell,
                      {QStringLiteral("Import"), QStringLiteral("OtherRadioButton"),
                       QStringLiteral("Eine Datenbank importieren"),
                       QStringLiteral("OutlookRadioButton"),
                       QStringLiteral("Outlook Express Adressbuch importieren"), QSize(475, 210)},
                      parent) {
    setObjectName(QStringLiteral("WizardImportForm"));
}
