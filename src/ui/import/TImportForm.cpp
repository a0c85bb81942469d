#include "TImportForm.h"

#include "foundations/CommandGuard.h"
#include "foundations/Shell.h"
#include "import/NotAvailable.h"
#include "import/TextImport.h"
#include "records/TMainForm.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Both cases, as the file system tells them apart.
const QString kFilter =
    QStringLiteral("Import (*.txt *.csv *.db *.dbf *.TXT *.CSV *.DB *.DBF *.Txt *.Csv *.Db *.Dbf)");

} // namespace

TImportForm::TImportForm(TMainForm& main, QWidget* parent) : QDialog(parent), m_main(main) {
    setObjectName(QStringLiteral("ImportForm"));
    setWindowTitle(QStringLiteral("Import"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    resize(363, 446);
    setMinimumSize(363, 446);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(4);
    const ProductConfig& config = main.config();
    layout->addWidget(link(QStringLiteral("Label13"), QStringLiteral("Hilfe: Import von MS Excel"),
                           config.excelHelpPage));
    layout->addWidget(link(QStringLiteral("Label16"), QStringLiteral("Hilfe: Import von MS Access"),
                           config.accessHelpPage));
    layout->addWidget(link(QStringLiteral("Label17"),
                           QStringLiteral("Hilfe: Import von dBase, Parodox oder Foxpro"),
                           config.databasesHelpPage));
    layout->addWidget(link(QStringLiteral("Label18"),
                           QStringLiteral("Hilfe: Import von Textdateien mit Delimiter (csv)"),
                           config.textImportHelpPage));
    layout->addSpacing(10);

    auto* delimiterRow = new QHBoxLayout;
    auto* delimiterLabel = new QLabel(QStringLiteral("&Delimiter (Trennzeichen)"), this);
    delimiterLabel->setObjectName(QStringLiteral("Label15"));
    m_delimiter = new QLineEdit(QStringLiteral(";"), this);
    m_delimiter->setObjectName(QStringLiteral("DelimiterEdit"));
    m_delimiter->setFixedWidth(60);
    delimiterLabel->setBuddy(m_delimiter);
    delimiterRow->addWidget(delimiterLabel);
    delimiterRow->addWidget(m_delimiter);
    delimiterRow->addStretch();
    layout->addLayout(delimiterRow);
    layout->addSpacing(6);

    auto* hint = new QLabel(QStringLiteral("Geben Sie 0 ein für nicht vorhandene Spalten"), this);
    hint->setObjectName(QStringLiteral("Label12"));
    QFont bold = hint->font();
    bold.setBold(true);
    hint->setFont(bold);
    layout->addWidget(hint);

    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setWidgetResizable(false);
    m_scrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_scrollBox, 1);

    auto* buttons = new QHBoxLayout;
    auto* start = new QPushButton(style()->standardIcon(QStyle::SP_DialogOpenButton),
                                  QStringLiteral("&Starte Import"), this);
    start->setObjectName(QStringLiteral("ImportBitBtn"));
    start->setAutoDefault(false);
    auto* help = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton),
                                 QStringLiteral("&Hilfe"), this);
    help->setObjectName(QStringLiteral("HilfeBitBtn"));
    help->setAutoDefault(false);
    auto* cancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                   QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("AbbrechenBitBtn"));
    cancel->setAutoDefault(false);
    buttons->addWidget(start);
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(cancel);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(start, &QPushButton::clicked, this, &TImportForm::ImportBitBtnClick);
    connect(help, &QPushButton::clicked, this, [this] { openHelp(m_main.config().helpPage); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QLabel* TImportForm::link(const QString& name, const QString& text, const QString& page) {
    auto* label = new QLabel(QStringLiteral("<a href=\"%1\" style=\"color:navy; font-weight:bold; "
                                            "text-decoration:underline\">%2</a>")
                                 .arg(page, text.toHtmlEscaped()),
                             this);
    label->setObjectName(name);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setCursor(Qt::PointingHandCursor);
    connect(label, &QLabel::linkActivated, this, &TImportForm::openHelp);
    return label;
}

void TImportForm::openHelp(const QString& page) {
    if (!m_main.shell().open(m_main.folders().helpDir + page))
        m_main.dialogs().notice(QStringLiteral("Unable to start internet browser! Make sure you "
                                               "have it properly set-up on your system!"));
}

void TImportForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TImportForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

// One row per profile line from the fifth on, 20 pixels apart; the edit boxes move right
// when a caption needs more room than the usual column gives.
void TImportForm::FormShow() {
    FormHide();
    m_entries = new QWidget;
    m_entries->setObjectName(QStringLiteral("ScrollBox1Contents"));
    const QList<TextImport::MappingEntry> entries =
        TextImport::mappingFromProfile(m_main.ProfileLines());
    QList<QLabel*> labels;
    int labelWidth = 0;
    for (const TextImport::MappingEntry& entry : entries) {
        auto* label =
            new QLabel(QStringLiteral("\"%1\" ist in Spalte").arg(entry.caption), m_entries);
        label->setObjectName(QStringLiteral("Label_") + entry.fieldName);
        label->adjustSize();
        labelWidth = std::max(labelWidth, label->width());
        labels.append(label);
    }
    const int editLeft = std::max(170, 20 + labelWidth + 10);
    int bottom = 0;
    QList<QWidget*> chain = {m_delimiter};
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const int i = static_cast<int>(k) + 5;
        auto* edit = new QLineEdit(QStringLiteral("0"), m_entries);
        edit->setObjectName(QStringLiteral("Edit_") + entries[k].fieldName);
        edit->setGeometry(editLeft, 20 * i - 90, 100, 20);
        labels[k]->move(20, 20 * i - 88);
        labels[k]->setBuddy(edit);
        chain.append(edit);
        bottom = 20 * i - 90 + 20;
        m_entryFields.append(entries[k].fieldName);
    }
    m_entries->resize(editLeft + 100 + 14, bottom + 10);
    m_scrollBox->setWidget(m_entries);
    // The entries come between the delimiter and the buttons in the tab order.
    chain.append(findChild<QWidget*>(QStringLiteral("ImportBitBtn")));
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    // Wide enough for the rows, so only the vertical scroll bar is ever needed.
    m_scrollBox->setMinimumWidth(m_entries->width() + 2 * m_scrollBox->frameWidth() +
                                 m_scrollBox->verticalScrollBar()->sizeHint().width());
}

void TImportForm::FormHide() {
    m_entryFields.clear();
    if (m_entries) {
        delete m_scrollBox->takeWidget();
        m_entries = nullptr;
    }
}

void TImportForm::ImportBitBtnClick() {
    const QString fileName =
        m_main.dialogs().openFileName(QStringLiteral("Import"), QString(), kFilter);
    bool done = true;
    if (!fileName.isEmpty())
        done = TextImport::isTableFile(fileName) ? ImportDataBase(fileName) : ImportCVS(fileName);
    // After an error the window stays, so the entries can be corrected.
    if (done)
        accept();
}

bool TImportForm::ImportCVS(const QString& fileName) {
    QList<TextImport::MappingEntry> mapping;
    for (const QString& field : std::as_const(m_entryFields)) {
        const auto* edit = m_entries->findChild<QLineEdit*>(QStringLiteral("Edit_") + field);
        mapping.append({field, edit ? edit->text() : QStringLiteral("0"), field});
    }
    const bool done = runGuarded(m_main.dialogs(), [&] {
        WaitCursor wait;
        m_main.setStatusText(QString());
        try {
            TextImport::ImportCVS(*m_main.ActiveTable(), fileName, mapping, m_delimiter->text(),
                                  [this](const QString& text) { m_main.setStatusText(text); });
        } catch (...) {
            m_main.setStatusText(QString());
            throw;
        }
        m_main.setStatusText(QString());
    });
    m_main.ShowRecordCount();
    return done;
}

bool TImportForm::ImportDataBase(const QString&) {
    m_main.dialogs().information(NotAvailable::tableFileImport());
    return true;
}
