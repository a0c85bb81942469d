#include "InfoWindows.h"

#include "foundations/ProductConfig.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void fill(QDialog* dialog, const QString& title, const QString& html) {
    dialog->setWindowTitle(title);
    auto* layout = new QVBoxLayout(dialog);
    auto* text = new QLabel(html, dialog);
    text->setObjectName(QStringLiteral("Label1"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    text->setOpenExternalLinks(true);
    text->setMinimumWidth(380);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBitBtn"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog->setLayout(layout);
}

} // namespace

TAboutBox::TAboutBox(const ProductConfig& config, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    fill(this, QStringLiteral("Info"),
         QStringLiteral("<h3>%1</h3><p>Version %2</p><p>Adressen verwalten, markieren und als "
                        "Serienbrief, Etiketten oder Briefumschläge ausgeben.</p>"
                        "<p>Aktualisierungen und Kontakt: <a href=\"%3\">%3</a></p>")
             .arg(config.productTitle, QStringLiteral(QUILLON_VERSION), config.productWebPage));
}

TSerienmailInfoForm::TSerienmailInfoForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SerienmailInfoForm"));
    fill(this, QStringLiteral("Serien E-Mail"),
         QStringLiteral("<h3>Serien E-Mail</h3><p>E-Mails an alle markierten Adressen versendet "
                        "ein eigenes Zusatzprogramm. Es liest die Adressen mit E-Mail aus "
                        "denselben Datenbanken und schreibt das Datum des Versands in die Spalte "
                        "„LetztesMail“.</p><p>Einzelne E-Mails schreiben Sie direkt aus der "
                        "Adressliste: Adresse wählen und „Outlook mit der selektierten Email "
                        "starten“ aufrufen; Ihr E-Mail-Programm öffnet sich mit der Adresse.</p>"));
}
