#include "TOpenOrNewForm.h"

#include "foundations/CommandGuard.h"
#include "foundations/UserDialogs.h"
#include "records/TMainForm.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

TOpenOrNewForm::TOpenOrNewForm(TMainForm& main, QWidget* parent)
    : WizardPage(main, QStringLiteral("Serienbrief erstellen"), parent) {
    setObjectName(QStringLiteral("OpenOrNewForm"));
    addText(QStringLiteral("Label1"), QStringLiteral("Was wollen Sie tun?"), true);
    const auto radio = [this](const QString& name, const QString& text, int spaceAbove) {
        auto* button = new QRadioButton(text, this);
        button->setObjectName(name);
        m_texts->addSpacing(spaceAbove);
        m_texts->addWidget(button);
        return button;
    };
    m_own = radio(QStringLiteral("OeffnenRadioButton"),
                  QStringLiteral("Öffnen eines bereits fertig von Ihnen erstellten Vorlage"), 8);
    m_letter = radio(QStringLiteral("BriefRadioButton"),
                     QStringLiteral("Erstellen einer Brief-Vorlage"), 12);
    m_labels = radio(QStringLiteral("EtikettenRadioButton"),
                     QStringLiteral("Erstellen einer Etiketten-Vorlage"), 2);
    m_envelope = radio(QStringLiteral("BriefumschlagRadioButton"),
                       QStringLiteral("Erstellen einer Briefumschlag-Vorlage"), 2);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* button : {m_own, m_letter, m_labels, m_envelope})
        group->addButton(button);

    QPushButton* back = addButton(QStringLiteral("ZurueckBitBtn"), QStringLiteral("Zurück"));
    back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    QPushButton* help = addButton(QStringLiteral("HilfeBitBtn"), QStringLiteral("Hilfe"));
    QPushButton* cancel = addButton(QStringLiteral("AbbrechenBitBtn"), QStringLiteral("Abbrechen"));
    QPushButton* next = addNextButton(QStringLiteral("WeiterBitBtn"));
    connect(back, &QPushButton::clicked, this, [this] { QDialog::reject(); });
    connect(cancel, &QPushButton::clicked, this, &TOpenOrNewForm::AbbrechenBitBtnClick);
    connect(help, &QPushButton::clicked, this, [this] { OpenHelpPage(m_main); });
    connect(next, &QPushButton::clicked, this, &TOpenOrNewForm::WeiterBitBtnClick);
    finish(QSize(475, 210));
}

TOpenOrNewForm::Choice TOpenOrNewForm::choice() const {
    if (m_own->isChecked())
        return Choice::OwnDocument;
    if (m_letter->isChecked())
        return Choice::Letter;
    if (m_labels->isChecked())
        return Choice::Labels;
    if (m_envelope->isChecked())
        return Choice::Envelope;
    return Choice::None;
}

void TOpenOrNewForm::showEvent(QShowEvent* event) {
    m_endsWizard = false;
    WizardPage::showEvent(event);
}

// Escape ends the wizard as "Abbrechen" does.
void TOpenOrNewForm::reject() {
    AbbrechenBitBtnClick();
}

void TOpenOrNewForm::AbbrechenBitBtnClick() {
    m_endsWizard = true;
    QDialog::reject();
}

void TOpenOrNewForm::WeiterBitBtnClick() {
    // From here on the wizard ends however this page is left.
    m_endsWizard = true;
    const Choice chosen = choice();
    if (chosen == Choice::None) {
        m_main.dialogs().information(QStringLiteral("Bitte zuerst eine Auswahl treffen!"));
        return;
    }
    const bool done = runGuarded(m_main.dialogs(), [&] {
        if (chosen == Choice::OwnDocument)
            m_main.OpenOwnDocument();
        else
            m_main.NewLetterFromTemplate();
    });
    if (done)
        accept();
}
