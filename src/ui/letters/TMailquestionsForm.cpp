#include "TMailquestionsForm.h"

#include "TOpenOrNewForm.h"
#include "records/TMainForm.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

TMailquestionsForm::TMailquestionsForm(TMainForm& main, TOpenOrNewForm& next, QWidget* parent)
    : WizardPage(main, QStringLiteral("Serienbrief erstellen"), parent), m_next(next) {
    setObjectName(QStringLiteral("MailquestionsForm"));
    addText(QStringLiteral("Label1"), QStringLiteral("Serien-Brief Assistent"), true);
    addText(
        QStringLiteral("Label2"),
        QStringLiteral("Dieser Assistent unterstützt Sie bei der Erstellung von Serien-Briefen"),
        false);
    m_count = addText(QStringLiteral("NoOfMailsLabel"),
                      QStringLiteral("Serien-Brief wird für 999999 markierte Datensätze erstellt."),
                      true, 32);
    QPalette palette = m_count->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    m_count->setPalette(palette);

    QPushButton* back = addButton(QStringLiteral("ZurueckBitBtn"), QStringLiteral("Zurück"));
    back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    QPushButton* help = addButton(QStringLiteral("HilfeBitBtn"), QStringLiteral("Hilfe"));
    QPushButton* cancel = addButton(QStringLiteral("AbbrechenBitBtn"), QStringLiteral("Abbrechen"));
    QPushButton* next_ = addNextButton(QStringLiteral("WeiterBitBtn"));
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { OpenHelpPage(m_main); });
    connect(next_, &QPushButton::clicked, this, &TMailquestionsForm::WeiterBitBtnClick);
    finish(QSize(475, 210));
}

void TMailquestionsForm::showEvent(QShowEvent* event) {
    FormActivate();
    WizardPage::showEvent(event);
}

void TMailquestionsForm::FormActivate() {
    m_count->setText(QStringLiteral("Serienbrief wird für %1 markierte Datensätze erzeugt.")
                         .arg(m_main.MarkedCount()));
}

void TMailquestionsForm::WeiterBitBtnClick() {
    m_next.exec();
    if (m_next.endsWizard())
        accept();
}
