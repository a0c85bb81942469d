// The serial-letter commands of the main window.
#include "TGrussformelForm.h"
#include "TMailquestionsForm.h"
#include "TOpenOrNewForm.h"
#include "TVorlageWizzard.h"
#include "foundations/CommandGuard.h"
#include "foundations/Table.h"
#include "foundations/UserDialogs.h"
#include "letters/MergeData.h"
#include "letters/OdtMerge.h"
#include "letters/Templates.h"
#include "letters/WordProcessor.h"
#include "records/TMainForm.h"

#include <QFileInfo>

void TMainForm::defineLetterCommands() {
    m_grussformelForm = new TGrussformelForm(*this, this);
    m_openOrNewForm = new TOpenOrNewForm(*this, this);
    m_mailquestionsForm = new TMailquestionsForm(*this, *m_openOrNewForm, this);
    m_vorlageWizzard = new TVorlageWizzard(*this, this);
    defineCommand(
        QStringLiteral("LetterWizard"),
        [this] {
            m_mailquestionsForm->exec();
            ShowRecordCount();
        },
        true);
    defineCommand(
        QStringLiteral("Grussormel1Click"), [this] { m_grussformelForm->exec(); }, false);
}

void TMainForm::ProtectTemplates() {
    runGuarded(m_dialogs, [&] {
        if (!Templates::ensureLettersFolder(m_folders.lettersDir, m_folders.programDir))
            return;
        // Templates still hidden by a run that ended while the dialog was open come back.
        Templates::restore(m_folders.lettersDir);
        Templates::protect(m_folders.lettersDir);
    });
}

void TMainForm::startWordProcessor(const QString& documentPath) {
    if (!WordProcessor::start(m_shell, m_folders.programDir, documentPath))
        m_dialogs.notice(WordProcessor::failureMessage());
}

void TMainForm::NewLetterFromTemplate() {
    bool written = false;
    {
        WaitCursor wait;
        written = WriteSerienbriefFile(*ActiveTable(), ProfileLines(), m_folders, m_dialogs);
    }
    ShowRecordCount();
    QString filter;
    switch (m_openOrNewForm->choice()) {
    case TOpenOrNewForm::Choice::Labels:
        filter = Templates::labelFilter();
        break;
    case TOpenOrNewForm::Choice::Envelope:
        filter = Templates::envelopeFilter();
        break;
    default:
        filter = Templates::letterFilter();
        break;
    }
    if (!written || m_vorlageWizzard->exec() != QDialog::Accepted)
        return;
    const QString chosen =
        m_dialogs.openFileName(QStringLiteral("Öffnen"), m_folders.lettersDir, filter);
    if (chosen.isEmpty())
        return;
    startWordProcessor(chosen);
    if (!ActiveTable()->isOpen())
        ActiveTable()->open();
    ActiveTable()->setFiltered(false);
}

void TMainForm::OpenOwnDocument() {
    MergeData data;
    bool written = false;
    {
        WaitCursor wait;
        written = WriteSerienbriefFile(*ActiveTable(), ProfileLines(), m_folders, m_dialogs, &data);
    }
    ShowRecordCount();
    QString chosen;
    {
        // The catalogued templates are out of the list while the user picks a document.
        Templates::Hidden hidden(m_folders.lettersDir);
        if (!written)
            return;
        chosen = m_dialogs.openFileName(QStringLiteral("Öffnen"), m_folders.lettersDir,
                                        Templates::ownDocumentFilter());
    }
    if (chosen.isEmpty())
        return;
    QString document = chosen;
    if (Templates::isOpenDocumentText(chosen)) {
        if (OdtMerge::fieldNames(chosen).isEmpty()) {
            m_dialogs.information(OdtMerge::noFieldsMessage(chosen) +
                                  QStringLiteral(" Das Dokument wird unverändert geöffnet."));
        } else {
            WaitCursor wait;
            setStatusText(QStringLiteral("Serienbrief wird erstellt …"));
            document = OdtMerge::outputPathFor(chosen, m_folders.lettersDir);
            try {
                OdtMerge::merge(chosen, data, document);
            } catch (...) {
                setStatusText(QString());
                throw;
            }
            setStatusText(QString());
        }
    }
    startWordProcessor(document);
    if (!ActiveTable()->isOpen())
        ActiveTable()->open();
    ActiveTable()->setFiltered(false);
}
