#include "TwoChoiceWizard.h"

#include "foundations/ProductConfig.h"
#include "foundations/Shell.h"
#include "foundations/UserDialogs.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

TwoChoiceWizard::TwoChoiceWizard(const ProductConfig& config, const Folders& folders,
                                 UserDialogs& dialogs, Shell& shell, const Texts& texts,
                                 QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_shell(shell),
      m_helpPage(folders.helpDir + config.helpPage) {
    setWindowTitle(texts.caption);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(texts.clientSize);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    const QPixmap picture(folders.pictureDir + config.wizardPicture);
    if (!picture.isNull())
        image->setPixmap(
            picture.scaledToHeight(texts.clientSize.height(), Qt::SmoothTransformation));
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(image);

    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 16, 12, 10);
    auto* question = new QLabel(QStringLiteral("Was wollen Sie tun?"), this);
    question->setObjectName(QStringLiteral("Label3"));
    QFont bold = question->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    question->setFont(bold);
    right->addWidget(question);
    right->addSpacing(14);

    m_upper = new QRadioButton(texts.upperText, this);
    m_upper->setObjectName(texts.upperName);
    m_lower = new QRadioButton(texts.lowerText, this);
    m_lower->setObjectName(texts.lowerName);
    auto* group = new QButtonGroup(this);
    group->addButton(m_upper);
    group->addButton(m_lower);
    right->addWidget(m_upper);
    right->addSpacing(6);
    right->addWidget(m_lower);
    right->addStretch();

    auto* buttons = new QHBoxLayout;
    auto* help = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton),
                                 QStringLiteral("&Hilfe"), this);
    help->setObjectName(QStringLiteral("HilfeBitBtn"));
    help->setAutoDefault(false);
    auto* abort = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                  QStringLiteral("Abbrechen"), this);
    abort->setObjectName(QStringLiteral("AbortBitBtn"));
    abort->setAutoDefault(false);
    auto* next = new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight),
                                 QStringLiteral("&Weiter"), this);
    next->setObjectName(QStringLiteral("WeiterBitBtn"));
    next->setDefault(true);
    // The arrow stands after the text.
    next->setLayoutDirection(Qt::RightToLeft);
    for (QPushButton* button : {help, abort, next})
        button->setMinimumWidth(88);
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(abort);
    buttons->addWidget(next);
    right->addLayout(buttons);
    layout->addLayout(right, 1);

    connect(help, &QPushButton::clicked, this, &TwoChoiceWizard::HilfeBitBtnClick);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    connect(next, &QPushButton::clicked, this, &TwoChoiceWizard::WeiterBitBtnClick);
}

TwoChoiceWizard::Choice TwoChoiceWizard::choice() const {
    if (m_upper->isChecked())
        return Choice::Upper;
    if (m_lower->isChecked())
        return Choice::Lower;
    return Choice::None;
}

void TwoChoiceWizard::WeiterBitBtnClick() {
    if (choice() == Choice::None) {
        m_dialogs.information(QStringLiteral("Bitte zuerst eine Auswahl treffen!"));
        return;
    }
    accept();
}

void TwoChoiceWizard::HilfeBitBtnClick() {
    if (!m_shell.open(m_helpPage))
        m_dialogs.notice(QStringLiteral("Unable to start internet browser! Make sure you have it "
                                        "properly set-up on your system!"));
}
