#include "TGrussformelForm.h"

#include "WizardPage.h"
#include "foundations/CommandGuard.h"
#include "letters/Salutations.h"
#include "records/TMainForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TGrussformelForm::TGrussformelForm(TMainForm& main, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_main(main) {
    setObjectName(QStringLiteral("GrussformelForm"));
    setWindowTitle(QStringLiteral("Grußformel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);

    auto* intro = new QLabel(QStringLiteral("Im Serienbrief werden alle Begriffe in der Spalte "
                                            "\"Anrede\" durch folgende Grußformeln ersetzt:"),
                             this);
    intro->setObjectName(QStringLiteral("Label1"));
    intro->setWordWrap(true);
    QFont bold = intro->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    intro->setFont(bold);
    layout->addWidget(intro);
    layout->addSpacing(8);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(8);
    rows->setVerticalSpacing(19);
    auto* termTitle = new QLabel(QStringLiteral("Spalte \"Anrede\""), this);
    termTitle->setObjectName(QStringLiteral("Label2"));
    auto* formulaTitle = new QLabel(QStringLiteral("ersetzen durch:"), this);
    formulaTitle->setObjectName(QStringLiteral("Label3"));
    rows->addWidget(termTitle, 0, 0);
    rows->addWidget(formulaTitle, 0, 2);
    QFont equalsFont = font();
    equalsFont.setBold(true);
    equalsFont.setPixelSize(19);
    for (int n = 1; n <= Salutations::kRows; ++n) {
        auto* term = new QLineEdit(this);
        term->setObjectName(QStringLiteral("Edit%1").arg(n));
        auto* formula = new QLineEdit(this);
        formula->setObjectName(QStringLiteral("Edit_%1").arg(n));
        term->setMinimumWidth(121);
        // Formulas are longer than terms; they are shown whole.
        formula->setMinimumWidth(220);
        auto* equals = new QLabel(QStringLiteral("="), this);
        equals->setObjectName(QStringLiteral("Label%1").arg(n + 3));
        equals->setFont(equalsFont);
        rows->addWidget(term, n, 0);
        rows->addWidget(equals, n, 1, Qt::AlignCenter);
        rows->addWidget(formula, n, 2);
        m_terms.append(term);
        m_formulas.append(formula);
    }
    termTitle->setBuddy(m_terms.first());
    formulaTitle->setBuddy(m_formulas.first());
    layout->addLayout(rows);
    layout->addSpacing(12);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBitBtn"));
    ok->setDefault(true);
    auto* help = new QPushButton(QStringLiteral("Hilfe"), this);
    help->setObjectName(QStringLiteral("HilfeBitBtn"));
    help->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("AbbrechenBitBtn"));
    cancel->setAutoDefault(false);
    for (QPushButton* button : {ok, help, cancel}) {
        button->setMinimumWidth(75);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TGrussformelForm::OKBitBtnClick);
    connect(help, &QPushButton::clicked, this, [this] { OpenHelpPage(m_main); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    intro->setMinimumWidth(290);
    setFixedSize(sizeHint().expandedTo(QSize(314, 460)));
}

void TGrussformelForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TGrussformelForm::FormActivate() {
    runGuarded(m_main.dialogs(), [&] {
        const QList<Salutations::Row> rows = Salutations::readRows(m_main.folders().programDir);
        for (int i = 0; i < Salutations::kRows; ++i) {
            m_terms[i]->setText(rows[i].term);
            m_formulas[i]->setText(rows[i].formula);
            m_terms[i]->setCursorPosition(0);
            m_formulas[i]->setCursorPosition(0);
        }
    });
    m_terms.first()->setFocus();
}

void TGrussformelForm::OKBitBtnClick() {
    QList<Salutations::Row> rows;
    for (int i = 0; i < Salutations::kRows; ++i)
        rows.append({m_terms[i]->text(), m_formulas[i]->text()});
    // When the file cannot be written the window stays open with what was typed.
    if (runGuarded(m_main.dialogs(),
                   [&] { Salutations::writeRows(m_main.folders().programDir, rows); }))
        accept();
}
