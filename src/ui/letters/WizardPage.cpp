#include "WizardPage.h"

#include "foundations/Shell.h"
#include "foundations/UserDialogs.h"
#include "records/TMainForm.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

void OpenHelpPage(TMainForm& main) {
    if (!main.shell().open(main.folders().helpDir + main.config().helpPage))
        main.dialogs().notice(QStringLiteral("Unable to start internet browser! Make sure you "
                                             "have it properly set-up on your system!"));
}

WizardPage::WizardPage(TMainForm& main, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_main(main) {
    setWindowTitle(caption);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(8);

    auto* top = new QHBoxLayout;
    top->setSpacing(24);
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    const QPixmap picture(main.folders().pictureDir + main.config().wizardPicture);
    if (!picture.isNull())
        image->setPixmap(
            picture.scaled(95, 168, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)
                .copy(0, 0, 95, 168));
    image->setFixedSize(95, 168);
    top->addWidget(image, 0, Qt::AlignTop);
    m_texts = new QVBoxLayout;
    m_texts->setContentsMargins(0, 16, 16, 8);
    m_texts->setSpacing(2);
    top->addLayout(m_texts, 1);
    layout->addLayout(top);

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    m_buttons = new QHBoxLayout;
    m_buttons->setContentsMargins(16, 0, 16, 0);
    m_buttons->addStretch();
    layout->addLayout(m_buttons);
}

QLabel* WizardPage::addText(const QString& objectName, const QString& text, bool bold,
                            int spaceAbove) {
    if (spaceAbove > 0)
        m_texts->addSpacing(spaceAbove);
    auto* label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    m_texts->addWidget(label);
    return label;
}

QPushButton* WizardPage::addButton(const QString& objectName, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setMinimumWidth(75);
    m_buttons->addWidget(button);
    return button;
}

QPushButton* WizardPage::addNextButton(const QString& objectName) {
    QPushButton* next = addButton(objectName, QStringLiteral("Weiter"));
    next->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    // The glyph stands right of the text.
    next->setLayoutDirection(Qt::RightToLeft);
    next->setDefault(true);
    return next;
}

void WizardPage::finish(const QSize& designSize) {
    m_texts->addStretch();
    adjustSize();
    setFixedSize(sizeHint().expandedTo(designSize));
}
