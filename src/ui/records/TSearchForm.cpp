#include "TSearchForm.h"

#include "TMainForm.h"
#include "foundations/CommandGuard.h"
#include "foundations/Table.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

namespace {

const QString kSearch = QStringLiteral("Suchen");
const QString kSearchOn = QStringLiteral("Weiter suchen");

// A field text longer than the window is shortened with an ellipsis; the whole text is in
// the tool tip.
void showLine(QLabel* line, const QString& text) {
    const QString shown =
        line->fontMetrics().elidedText(text, Qt::ElideRight, line->contentsRect().width());
    line->setText(shown);
    line->setToolTip(shown == text ? QString() : text);
}

} // namespace

TSearchForm::TSearchForm(TMainForm& main, QWidget* parent) : QDialog(parent), m_main(main) {
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("Suchen"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 11, 16, 12);
    layout->setVerticalSpacing(2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QFont bold = font();
    bold.setBold(true);

    auto* label = new QLabel(QStringLiteral("Suchbegriff"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setFont(bold);
    layout->addWidget(label, 0, 0, 1, 3);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setMinimumWidth(289);
    layout->addWidget(m_edit, 1, 0, 1, 3);
    label->setBuddy(m_edit);
    layout->setRowMinimumHeight(2, 8);

    m_resultCaption = new QLabel(this);
    m_resultCaption->setObjectName(QStringLiteral("ErgLabel"));
    layout->addWidget(m_resultCaption, 3, 0, 1, 2, Qt::AlignLeft | Qt::AlignBottom);

    m_editButton = new QPushButton(QStringLiteral("Bearbeiten (F4)"), this);
    m_editButton->setObjectName(QStringLiteral("BearbeitenBitBtn"));
    m_editButton->setToolTip(QStringLiteral("Vorhandenen Adresse in der Datenbank bearbeiten"));
    m_editButton->setAutoDefault(false);
    m_editButton->setMinimumWidth(145);
    // Hidden between hits without the window changing its shape.
    QSizePolicy keep = m_editButton->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_editButton->setSizePolicy(keep);
    layout->addWidget(m_editButton, 3, 2, Qt::AlignRight);

    const int lineHeight = QFontMetrics(bold).height();
    for (int i = 0; i < 3; ++i) {
        auto* line = new QLabel(this);
        line->setObjectName(QStringLiteral("ResultLabel%1").arg(i + 1));
        line->setFont(bold);
        line->setMinimumHeight(lineHeight);
        // A long field text is cut at the window's edge rather than widening the window.
        line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(line, 4 + i, 0, 1, 3);
        m_lines[i] = line;
    }
    layout->setRowMinimumHeight(7, 12);

    m_ok = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView), kSearch, this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setAutoDefault(false);
    m_ok->setMinimumWidth(113);
    layout->addWidget(m_ok, 8, 0);
    layout->setColumnStretch(1, 1);
    auto* abort = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                                  QStringLiteral("Schließen"), this);
    abort->setObjectName(QStringLiteral("AbortButton"));
    abort->setAutoDefault(false);
    abort->setMinimumWidth(105);
    layout->addWidget(abort, 8, 2, Qt::AlignRight);

    connect(m_edit, &QLineEdit::textChanged, this, &TSearchForm::Edit1Change);
    connect(m_ok, &QPushButton::clicked, this, &TSearchForm::SearchNext);
    connect(m_editButton, &QPushButton::clicked, this, &TSearchForm::BearbeitenBitBtnClick);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);

    clearResult();
}

void TSearchForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TSearchForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        SearchNext();
        return;
    case Qt::Key_F4:
        // Also while the button is hidden: the editor opens on the current record.
        BearbeitenBitBtnClick();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

// The term and the table's position stay; the next step examines the current record.
void TSearchForm::FormActivate() {
    m_search.restart();
    clearResult();
    m_edit->setFocus();
}

void TSearchForm::clearResult() {
    m_resultCaption->clear();
    for (QLabel* line : m_lines) {
        line->clear();
        line->setToolTip(QString());
    }
    m_editButton->hide();
}

void TSearchForm::Edit1Change() {
    m_ok->setText(kSearch);
    clearResult();
    Table* table = m_main.ActiveTable();
    runGuarded(m_main.dialogs(), [&] { m_search.setTerm(m_edit->text(), table); });
}

void TSearchForm::SearchNext() {
    runGuarded(m_main.dialogs(), [&] {
        Table* table = m_main.ActiveTable();
        if (!table || !table->isOpen()) {
            m_main.dialogs().information(QStringLiteral("Zuerst Datenbank öffnen!"));
            return;
        }
        WaitCursor wait;
        m_resultCaption->setText(QStringLiteral("Suchergebnis:"));
        m_ok->setText(kSearchOn);
        const RecordSearch::Result result = m_search.step(*table);
        const QString texts[3] = {result.line1, result.line2, result.line3};
        for (int i = 0; i < 3; ++i)
            showLine(m_lines[i], texts[i]);
        m_editButton->setVisible(result.hit);
    });
}

void TSearchForm::BearbeitenBitBtnClick() {
    m_main.EditRecord();
}
