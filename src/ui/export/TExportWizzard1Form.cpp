#include "TExportWizzard1Form.h"

#include <QSize>

TExportWizzard1Form::TExportWizzard1Form(const ProductConfig& config, const Folders& folders,
                                         UserDialogs& dialogs, Shell& shell, QWidget* parent)
    : TwoChoiceWizard(config, folders, dialogs, shell,
                      {QStringLiteral("Export"), QStringLiteral("ExcelRadioButton"),
                       QStringLiteral("Eine Exel Datei herstellen"),
                       QStringLiteral("OtherRadioButton"),
                       QStringLiteral("Einen anderen Datenbank-Typ herstellen"), QSize(474, 214)},
                      parent) {
    setObjectName(QStringLiteral("ExportWizzard1Form"));
}
