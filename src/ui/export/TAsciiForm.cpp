#include "TAsciiForm.h"

#include "export/TextExport.h"
#include "foundations/CommandGuard.h"
#include "foundations/Table.h"
#include "records/TMainForm.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

TAsciiForm::TAsciiForm(TMainForm& main, QWidget* parent) : QDialog(parent), m_main(main) {
    setObjectName(QStringLiteral("AsciiForm"));
    setWindowTitle(QStringLiteral("Export"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    resize(279, 435);
    setMinimumSize(279, 435);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(15, 12, 15, 12);
    layout->setSpacing(6);

    auto* intro = new QLabel(
        QStringLiteral("Export in eine mit Trennzeichen getrennte Datei (CSV). Dieser Dateityp "
                       "kann in gängige Programme wie z.B. Access, Windows Adressbuch, Outlook, "
                       "Excel usw. importiert werden."),
        this);
    intro->setObjectName(QStringLiteral("Label2"));
    intro->setWordWrap(true);
    intro->setMinimumWidth(249);
    intro->setMinimumHeight(57);
    QPalette navy = intro->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    intro->setPalette(navy);
    layout->addWidget(intro);

    m_header = new QCheckBox(QStringLiteral("Tabellen&kopf verwenden ?"), this);
    m_header->setObjectName(QStringLiteral("TableHeaderCheckBox"));
    m_header->setChecked(true);
    m_onlyMarked = new QCheckBox(QStringLiteral("nur &markierte Daten exportieren?"), this);
    m_onlyMarked->setObjectName(QStringLiteral("OnlyMarkedCheckBox"));
    m_trim = new QCheckBox(QStringLiteral("Leerzeichen &entfernen (Trim)?"), this);
    m_trim->setObjectName(QStringLiteral("TrimCheckBox"));
    layout->addWidget(m_header);
    layout->addWidget(m_onlyMarked);
    layout->addWidget(m_trim);

    m_fields = new QListWidget(this);
    m_fields->setObjectName(QStringLiteral("CheckListBox1"));
    layout->addWidget(m_fields, 1);

    auto* delimiterRow = new QHBoxLayout;
    auto* delimiterLabel = new QLabel(QStringLiteral("&Trennzeichen (Delimiter)"), this);
    delimiterLabel->setObjectName(QStringLiteral("Label1"));
    m_delimiter = new QLineEdit(QStringLiteral(";"), this);
    m_delimiter->setObjectName(QStringLiteral("Edit1"));
    m_delimiter->setFixedWidth(60);
    delimiterLabel->setBuddy(m_delimiter);
    delimiterRow->addWidget(delimiterLabel);
    delimiterRow->addStretch();
    delimiterRow->addWidget(m_delimiter);
    layout->addLayout(delimiterRow);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                               QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBitBtn"));
    ok->setDefault(true);
    auto* abort = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                  QStringLiteral("Abbrechen"), this);
    abort->setObjectName(QStringLiteral("AbortBitBtn"));
    abort->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(abort);
    layout->addSpacing(4);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TAsciiForm::OKBitBtnClick);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
}

void TAsciiForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        FormActivate();
    QDialog::showEvent(event);
}

void TAsciiForm::FormActivate() {
    m_fields->clear();
    const Table* table = m_main.ActiveTable();
    if (!table)
        return;
    for (const FieldDef& field : table->fields()) {
        auto* item = new QListWidgetItem(field.name, m_fields);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Checked);
    }
    if (m_fields->count() > 0)
        m_fields->setCurrentRow(0);
}

// The save dialog with the export's filter; a name without extension gets ".csv".
QString TAsciiForm::askFileName() {
    QString path =
        m_main.dialogs().saveFileName(QStringLiteral("Export"), QString(),
                                      QStringLiteral("Trennzeichen getrennte Datei (*.csv)"));
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    path += QStringLiteral(".csv");
    // The dialog asked about the name as typed; the completed one may exist as well.
    if (QFileInfo::exists(path) &&
        !m_main.dialogs().confirm(
            QStringLiteral("Die Datei „%1“ ist bereits vorhanden. Wollen Sie sie ersetzen?")
                .arg(QFileInfo(path).fileName())))
        return QString();
    return path;
}

void TAsciiForm::OKBitBtnClick() {
    TextExport::Options options;
    for (int i = 0; i < m_fields->count(); ++i)
        if (m_fields->item(i)->checkState() == Qt::Checked)
            options.fields.append(m_fields->item(i)->text());
    options.header = m_header->isChecked();
    options.onlyMarked = m_onlyMarked->isChecked();
    options.trim = m_trim->isChecked();
    options.delimiter = m_delimiter->text();
    runGuarded(m_main.dialogs(), [&] {
        Table* table = m_main.ActiveTable();
        if (!table || !table->isOpen())
            throw QuillonError(QStringLiteral("Zuerst Datenbank öffnen!"));
        WaitCursor wait;
        try {
            TextExport::ExportText(
                *table, options,
                [this] {
                    // The hourglass would stand over the file dialog.
                    QApplication::restoreOverrideCursor();
                    const QString path = askFileName();
                    QApplication::setOverrideCursor(Qt::WaitCursor);
                    return path;
                },
                [this](const QString& text) { m_main.setStatusText(text); });
        } catch (...) {
            m_main.setStatusText(QString());
            throw;
        }
        m_main.setStatusText(QString());
    });
    m_main.ShowRecordCount();
    accept();
}
