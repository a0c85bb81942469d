#include "TMainForm.h"
#include "export/TAsciiForm.h"
#include "export/TExportWizzard1Form.h"
#include "foundations/Table.h"
#include "foundations/UserDialogs.h"
#include "import/NotAvailable.h"
#include "import/TImportForm.h"
#include "import/TWizardImportForm.h"

#include <QDialog>

// ---- import and export --------------------------------------------------------------

void TMainForm::defineTransferCommands() {
    auto* importWizard = new TWizardImportForm(m_config, m_folders, m_dialogs, m_shell, this);
    auto* importForm = new TImportForm(*this, this);
    auto* exportWizard = new TExportWizzard1Form(m_config, m_folders, m_dialogs, m_shell, this);
    auto* asciiForm = new TAsciiForm(*this, this);
    defineCommand(
        QStringLiteral("ImportDelimiterDatei1Click"),
        [this, importWizard, importForm] {
            if (importWizard->exec() != QDialog::Accepted)
                return;
            if (importWizard->addressBookChosen()) {
                m_dialogs.information(NotAvailable::addressBookImport());
                return;
            }
            importForm->exec();
            ShowRecordCount();
        },
        true);
    defineCommand(
        QStringLiteral("Datenstzeexportieren1Click"),
        [this, exportWizard, asciiForm] {
            ActiveTable()->first();
            if (exportWizard->exec() != QDialog::Accepted)
                return;
            if (exportWizard->workbookChosen()) {
                m_dialogs.information(NotAvailable::workbookExport());
                return;
            }
            asciiForm->exec();
            ShowRecordCount();
        },
        true);
}
