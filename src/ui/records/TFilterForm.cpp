#include "TFilterForm.h"

#include "TMainForm.h"
#include "foundations/CommandGuard.h"
#include "foundations/Table.h"
#include "records/FilterBuilder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

struct ConditionRow {
    QComboBox* field;
    QToolButton* operation;
    QLineEdit* value;
};

ConditionRow addCondition(QWidget* parent, QVBoxLayout* layout, const QString& title,
                          const QString& groupName, int number) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(groupName);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->addWidget(new QLabel(QStringLiteral("Spalte"), group), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Bedingung"), group), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Wert"), group), 0, 2);

    ConditionRow row;
    row.field = new QComboBox(group);
    row.field->setObjectName(QStringLiteral("Field%1ComboBox").arg(number));
    row.field->setMaxVisibleItems(30);
    row.field->setMinimumWidth(145);
    row.field->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    grid->addWidget(row.field, 1, 0);

    // A speed button: clicking cycles the operator without taking the focus.
    row.operation = new QToolButton(group);
    row.operation->setObjectName(QStringLiteral("Operate%1Btn").arg(number));
    row.operation->setFocusPolicy(Qt::NoFocus);
    row.operation->setMinimumSize(65, 22);
    row.operation->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    grid->addWidget(row.operation, 1, 1);

    row.value = new QLineEdit(group);
    row.value->setObjectName(QStringLiteral("Exp%1Edit").arg(number));
    row.value->setMinimumWidth(153);
    grid->addWidget(row.value, 1, 2);
    grid->setColumnStretch(2, 1);

    layout->addWidget(group);
    return row;
}

QPushButton* addButton(QWidget* parent, QHBoxLayout* layout, const QString& name,
                       const QString& caption, QStyle::StandardPixmap icon) {
    auto* button = new QPushButton(parent->style()->standardIcon(icon), caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumWidth(97);
    layout->addWidget(button);
    return button;
}

FilterBuilder::Condition conditionOf(QComboBox* field, int operatorIndex, QLineEdit* value) {
    FilterBuilder::Condition condition;
    condition.position = field->currentIndex();
    condition.field = condition.position >= 0 ? field->currentText() : QString();
    condition.operatorIndex = operatorIndex;
    condition.value = value->text();
    return condition;
}

void refill(QComboBox* box, const QStringList& names, int defaultPosition) {
    const int remembered = box->currentIndex();
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(names);
    const int position = remembered >= 0 ? remembered : defaultPosition;
    box->setCurrentIndex(position < names.size() ? position : -1);
}

} // namespace

TFilterForm::TFilterForm(TMainForm& main, QWidget* parent) : QDialog(parent), m_main(main) {
    setObjectName(QStringLiteral("FilterForm"));
    setWindowTitle(QStringLiteral("Filter"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 8, 16, 14);
    layout->setSpacing(8);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* heading =
        new QLabel(QStringLiteral("Filtern von Datensätzen nach bestimmten Kriterien:"), this);
    heading->setObjectName(QStringLiteral("Label7"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPixelSize(13);
    heading->setFont(headingFont);
    heading->setStyleSheet(QStringLiteral("color: black;"));
    heading->setContentsMargins(8, 0, 0, 0);
    layout->addWidget(heading);

    const ConditionRow first =
        addCondition(this, layout, QStringLiteral("Bedingung 1"), QStringLiteral("GroupBox1"), 1);
    m_field1 = first.field;
    m_operate1 = first.operation;
    m_exp1 = first.value;

    m_connector = new QToolButton(this);
    m_connector->setObjectName(QStringLiteral("ConectorBtn"));
    m_connector->setFocusPolicy(Qt::NoFocus);
    // As wide as its longest caption, so cycling does not make it jump.
    m_connector->setText(FilterBuilder::connectorCaption(1));
    m_connector->setFixedSize(std::max(129, m_connector->sizeHint().width() + 16), 22);
    m_connector->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    layout->addWidget(m_connector, 0, Qt::AlignHCenter);

    const ConditionRow second =
        addCondition(this, layout, QStringLiteral("Bedingung 2"), QStringLiteral("GroupBox2"), 2);
    m_field2 = second.field;
    m_operate2 = second.operation;
    m_exp2 = second.value;
    m_field2->setEnabled(false);
    m_operate2->setEnabled(false);
    m_exp2->setEnabled(false);

    layout->addSpacing(8);
    auto* expertLabel =
        new QLabel(QStringLiteral("Für Experten: Selbst definiertes Filterkriterium"), this);
    expertLabel->setObjectName(QStringLiteral("Label8"));
    expertLabel->setContentsMargins(8, 0, 0, 0);
    layout->addWidget(expertLabel);
    m_expression = new QLineEdit(this);
    m_expression->setObjectName(QStringLiteral("ExpressionEdit"));
    m_expression->setMinimumWidth(393);
    layout->addWidget(m_expression);
    expertLabel->setBuddy(m_expression);

    layout->addSpacing(8);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(7);
    QPushButton* on = addButton(this, buttons, QStringLiteral("OnBitBtn"),
                                QStringLiteral("Filter an"), QStyle::SP_DialogApplyButton);
    on->setDefault(true);
    QPushButton* off = addButton(this, buttons, QStringLiteral("OffBitBtn"),
                                 QStringLiteral("Filter aus"), QStyle::SP_DialogResetButton);
    QPushButton* help = addButton(this, buttons, QStringLiteral("HilfeBitBtn"),
                                  QStringLiteral("Hilfe"), QStyle::SP_DialogHelpButton);
    QPushButton* close = addButton(this, buttons, QStringLiteral("CloseButton"),
                                   QStringLiteral("Schließen"), QStyle::SP_DialogCloseButton);
    layout->addLayout(buttons);

    connect(m_field1, &QComboBox::currentIndexChanged, this, &TFilterForm::Field1ComboBoxChange);
    connect(m_exp1, &QLineEdit::textChanged, this, &TFilterForm::Exp1EditChange);
    connect(m_operate1, &QToolButton::clicked, this, &TFilterForm::Operate1BtnClick);
    connect(m_field2, &QComboBox::currentIndexChanged, this, &TFilterForm::Field2ComboBoxChange);
    connect(m_exp2, &QLineEdit::textChanged, this, &TFilterForm::Exp2EditChange);
    connect(m_operate2, &QToolButton::clicked, this, &TFilterForm::Operate2BtnClick);
    connect(m_connector, &QToolButton::clicked, this, &TFilterForm::ConectorBtnClick);
    connect(on, &QPushButton::clicked, this, &TFilterForm::OnBitBtnClick);
    connect(off, &QPushButton::clicked, this, &TFilterForm::OffBitBtnClick);
    connect(help, &QPushButton::clicked, this, &TFilterForm::HilfeBitBtnClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    // FormCreate
    m_operate1->setText(FilterBuilder::operatorText(m_operator1Index));
    m_operate2->setText(FilterBuilder::operatorText(m_operator2Index));
    m_connector->setText(FilterBuilder::connectorCaption(m_connectorIndex));
}

void TFilterForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFilterForm::FormActivate() {
    // The lists follow the database open now; the selections are kept by position.
    const QStringList names = FilterBuilder::fieldNames(m_main.ProfileLines());
    refill(m_field1, names, FilterBuilder::kDefaultFirstPosition);
    refill(m_field2, names, FilterBuilder::kDefaultSecondPosition);
    UpdateExpressionEdit();
    m_field1->setFocus();
}

// The expression is built from what the controls show, so the expert box never disagrees
// with them; a disabled condition 2 contributes nothing.
void TFilterForm::UpdateExpressionEdit() {
    m_expression->setText(
        FilterBuilder::expression(conditionOf(m_field1, m_operator1Index, m_exp1), m_connectorIndex,
                                  conditionOf(m_field2, m_operator2Index, m_exp2)));
}

void TFilterForm::Field1ComboBoxChange() {
    UpdateExpressionEdit();
}

void TFilterForm::Exp1EditChange() {
    UpdateExpressionEdit();
}

void TFilterForm::Operate1BtnClick() {
    m_operator1Index = FilterBuilder::nextOperator(m_operator1Index);
    m_operate1->setText(FilterBuilder::operatorText(m_operator1Index));
    UpdateExpressionEdit();
}

void TFilterForm::Field2ComboBoxChange() {
    UpdateExpressionEdit();
}

void TFilterForm::Exp2EditChange() {
    UpdateExpressionEdit();
}

void TFilterForm::Operate2BtnClick() {
    m_operator2Index = FilterBuilder::nextOperator(m_operator2Index);
    m_operate2->setText(FilterBuilder::operatorText(m_operator2Index));
    UpdateExpressionEdit();
}

void TFilterForm::ConectorBtnClick() {
    m_connectorIndex = FilterBuilder::nextConnector(m_connectorIndex);
    m_connector->setText(FilterBuilder::connectorCaption(m_connectorIndex));
    const bool second = m_connectorIndex != 1;
    m_field2->setEnabled(second);
    m_operate2->setEnabled(second);
    m_exp2->setEnabled(second);
    UpdateExpressionEdit();
}

void TFilterForm::OnBitBtnClick() {
    runGuarded(m_main.dialogs(), [&] {
        Table* table = m_main.ActiveTable();
        if (!table || !table->isOpen()) {
            m_main.dialogs().information(QStringLiteral("Zuerst Datenbank öffnen!"));
            return;
        }
        WaitCursor wait;
        FilterBuilder::switchOn(*table, m_expression->text());
        m_main.ShowRecordCount();
    });
}

void TFilterForm::OffBitBtnClick() {
    runGuarded(m_main.dialogs(), [&] {
        Table* table = m_main.ActiveTable();
        if (!table)
            return;
        WaitCursor wait;
        FilterBuilder::switchOff(*table);
        m_main.ShowRecordCount();
    });
}

void TFilterForm::HilfeBitBtnClick() {
    m_main.Hilfedatei1Click();
}
