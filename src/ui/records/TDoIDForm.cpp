#include "TDoIDForm.h"

#include "foundations/CommandGuard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* idEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // Up to eleven digits, each place optional, shown as "_" while empty.
    edit->setInputMask(QStringLiteral("00000000000;_"));
    edit->setMaxLength(11);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 14);
    return edit;
}

} // namespace

TDoIDForm::TDoIDForm(UserDialogs& dialogs, QWidget* parent) : QDialog(parent), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("DoIDForm"));
    auto* layout = new QVBoxLayout(this);
    m_doLabel = new QLabel(this);
    m_doLabel->setObjectName(QStringLiteral("DoLabel"));
    QFont large = m_doLabel->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.6);
    m_doLabel->setFont(large);
    layout->addWidget(m_doLabel);

    auto* fields = new QGridLayout;
    auto* startLabel = new QLabel(QStringLiteral("Start ID"), this);
    startLabel->setObjectName(QStringLiteral("Label1"));
    auto* endLabel = new QLabel(QStringLiteral("End ID"), this);
    endLabel->setObjectName(QStringLiteral("Label2"));
    m_start = idEdit(QStringLiteral("MaskEdit1"), this);
    m_end = idEdit(QStringLiteral("MaskEdit2"), this);
    startLabel->setBuddy(m_start);
    endLabel->setBuddy(m_end);
    fields->addWidget(startLabel, 0, 0);
    fields->addWidget(m_start, 0, 1);
    fields->addWidget(endLabel, 1, 0);
    fields->addWidget(m_end, 1, 1);
    layout->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    // The result is OK before the texts are read, so a conversion error still confirms.
    connect(ok, &QPushButton::clicked, this, [this] {
        accept();
        BitBtn1Click();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

void TDoIDForm::setDoText(const QString& text) {
    m_doLabel->setText(text);
}

void TDoIDForm::BitBtn1Click() {
    runGuarded(m_dialogs, [&] { m_range.readTexts(m_start->text(), m_end->text()); });
}
