#include "TVorlageWizzard.h"

#include <QPushButton>

TVorlageWizzard::TVorlageWizzard(TMainForm& main, QWidget* parent)
    : WizardPage(main, QStringLiteral("Vorlage erstellen"), parent) {
    setObjectName(QStringLiteral("VorlageWizzard"));
    addText(QStringLiteral("Label1"), QStringLiteral("Vorlage erstellen:"), true);
    addText(QStringLiteral("Label2"),
            QStringLiteral("Öffnen Sie hierzu im nachfolgenden  Fenster eine Vorlage und passen "
                           "Sie diese nach Ihren Wünschen an."),
            true, 20);
    addText(QStringLiteral("Label3"),
            QStringLiteral("Speichern Sie diese Vorlage nach der Fertigstellung und Sie können "
                           "diese Vorlage zukünftig weiterverwenden."),
            true, 12);
    QPushButton* help = addButton(QStringLiteral("HilfeBitBtn"), QStringLiteral("Hilfe"));
    QPushButton* cancel = addButton(QStringLiteral("AbbrechenBitBtn"), QStringLiteral("Abbrechen"));
    QPushButton* next = addNextButton(QStringLiteral("WeiterBitBtn"));
    connect(help, &QPushButton::clicked, this, [this] { OpenHelpPage(m_main); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(next, &QPushButton::clicked, this, &QDialog::accept);
    finish(QSize(474, 214));
}
