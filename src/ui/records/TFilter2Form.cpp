#include "TFilter2Form.h"

#include "TMainForm.h"
#include "foundations/CommandGuard.h"
#include "foundations/Table.h"
#include "records/Marking.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

TFilter2Form::TFilter2Form(TMainForm& main, QWidget* parent) : QDialog(parent), m_main(main) {
    setObjectName(QStringLiteral("Filter2Form"));
    setWindowTitle(QStringLiteral("Filter"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 11, 16, 12);
    layout->setVerticalSpacing(6);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* label =
        new QLabel(QStringLiteral("Alle Datensätze mit folgendem Wortlaut markieren"), this);
    label->setObjectName(QStringLiteral("Label1"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    layout->addWidget(label, 0, 0, 1, 3);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setMinimumWidth(289);
    layout->addWidget(m_edit, 1, 0, 1, 3);
    label->setBuddy(m_edit);
    layout->setRowMinimumHeight(2, 6);

    // Enter and Esc are handled by the window for every control, so no button is default.
    auto* ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                               QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setAutoDefault(false);
    ok->setMinimumWidth(113);
    layout->addWidget(ok, 3, 0);
    layout->setColumnStretch(1, 1);
    auto* abort = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                  QStringLiteral("Abbrechen"), this);
    abort->setObjectName(QStringLiteral("AbortButton"));
    abort->setAutoDefault(false);
    abort->setMinimumWidth(105);
    layout->addWidget(abort, 3, 2);

    connect(m_edit, &QLineEdit::textChanged, this, &TFilter2Form::Edit1Change);
    connect(ok, &QPushButton::clicked, this, &TFilter2Form::MarkByText);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
}

void TFilter2Form::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_edit->setFocus();
}

void TFilter2Form::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        MarkByText();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFilter2Form::Edit1Change() {
    Table* table = m_main.ActiveTable();
    if (table && table->isOpen())
        runGuarded(m_main.dialogs(), [&] { table->first(); });
}

// An empty text occurs in no field and marks nothing; the window stays open after marking.
void TFilter2Form::MarkByText() {
    runGuarded(m_main.dialogs(), [&] {
        Table* table = m_main.ActiveTable();
        if (!table || !table->isOpen()) {
            m_main.dialogs().information(QStringLiteral("Zuerst Datenbank öffnen!"));
            return;
        }
        WaitCursor wait;
        Marking::markByText(*table, m_edit->text());
    });
}
