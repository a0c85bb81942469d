#include "TMainForm.h"

#include "InfoWindows.h"
#include "RecordGrid.h"
#include "RecordGridModel.h"
#include "TDoIDForm.h"
#include "TEdForm.h"
#include "TFilter2Form.h"
#include "TFilterForm.h"
#include "TSearchForm.h"
#include "definitions/Descriptors.h"
#include "definitions/GridLayout.h"
#include "foundations/CommandGuard.h"
#include "foundations/FileNames.h"
#include "foundations/QuillonError.h"
#include "foundations/Shell.h"
#include "foundations/StartupChecks.h"
#include "foundations/Table.h"
#include "foundations/TextFile.h"
#include "foundations/TextHelpers.h"
#include "foundations/ToolIcons.h"
#include "foundations/UserDialogs.h"
#include "records/GridColumns.h"
#include "records/Marking.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kNeedsDatabase = QStringLiteral("Zuerst Datenbank öffnen!");
const QString kNewHint = QStringLiteral("Neue Adresse in die Datenbank eingeben");
const QString kEditHint = QStringLiteral("Vorhandenen Adresse in der Datenbank bearbeiten");
const QString kDeleteHint = QStringLiteral("Vorhandenen Adresse in der Datenbank löschen");
const QString kSearchHint = QStringLiteral("Sucht nach Adressen in der Datenbank");
const QString kFilterHint = QStringLiteral("Filtern von Adressen nach bestimmten Kriterien");
const QString kMailHint =
    QStringLiteral("Schreibt ein Serienbrief an alle markierten Adressen in der Datenbank");
const QString kImportHint =
    QStringLiteral("Adressen importieren aus Outlook, Excel, Access, dBase, Paradox, FoxPro usw.");
const QString kOutlookCaption = QStringLiteral("Outlook mit der selektierten Email starten");

// Commands that need an open database, and the ones whose window is not part of the
// program yet (they stay disabled until it is).
struct CommandInfo {
    const char* name;
    bool needsDatabase;
};

constexpr CommandInfo kCommands[] = {
    {"NewRecord", true},
    {"EditRecord", true},
    {"DeleteRecord", true},
    {"Suchen1Click", false},
    {"SearchTBClick", true},
    {"UniversalFilterTBClick", true},
    {"ToolButton1Click", true},
    {"FirstButtonClick", true},
    {"LastButtonClick", true},
    {"MailBitBtnClick", true},
    {"OutlookEMailBitBtnClick", true},
    {"ImportDelimiterDatei1Click", true},
    {"Datenstzeexportieren1Click", true},
    {"CopyDBGridToClipboardClick", false},
    {"SelectAllTBClick", false},
    {"UnselectAllTBClick", false},
    {"MarkierenvonIDbisID1Click", true},
    {"AllemarkiertenDatenstzelschen2Click", true},
    {"Datenbankkomplettleeren1Click", true},
    {"OpenModeClick", false},
    {"NeueDatenbankerzeugen1Click", false},
    {"Datenbanklschen2Click", false},
    {"Datentransfer1Click", false},
    {"Backup2Click", false},
    {"Restore1Click", false},
    {"Grussormel1Click", false},
    {"Hilfedatei1Click", false},
    {"Update1Click", false},
    {"Info1Click", false},
    {"Beenden1Click", false},
    {"SerienmailBitBtnClick", false},
};

QFont gridFont() {
    // The classic dialog font is not on Linux desktops; its size on the desktop's sans serif.
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Sans Serif")});
    return font;
}

} // namespace

TMainForm::TMainForm(const ProductConfig& config, const Folders& folders, UserDialogs& dialogs,
                     Shell& shell, QWidget* parent)
    : QMainWindow(parent), m_config(config), m_folders(folders), m_dialogs(dialogs), m_shell(shell),
      m_session(folders, dialogs) {
    setObjectName(QStringLiteral("MainForm"));
    for (const CommandInfo& info : kCommands)
        m_commands.insert(QString::fromLatin1(info.name), Command{nullptr, info.needsDatabase});
    defineCommand(
        QStringLiteral("FirstButtonClick"), [this] { ActiveTable()->first(); }, true);
    defineCommand(
        QStringLiteral("LastButtonClick"), [this] { ActiveTable()->last(); }, true);
    defineCommand(
        QStringLiteral("MailBitBtnClick"),
        [this] {
            {
                WaitCursor wait;
                ActiveTable()->setFilter(QStringLiteral("Selected='True'"));
                ActiveTable()->setFiltered(true);
                m_markedCount = ActiveTable()->recordCount();
                if (m_markedCount != 0)
                    ActiveTable()->setFiltered(false);
            }
            if (m_markedCount != 0) {
                if (const Command& wizard = m_commands[QStringLiteral("LetterWizard")];
                    wizard.handler)
                    wizard.handler();
                return;
            }
            m_dialogs.information(QStringLiteral(
                "Keine Datensätze zum versenden markiert! \nKlicken Sie doppelt auf die "
                "Spalte \"Selected\" um Datensätze zu markieren!"));
            ActiveTable()->setFiltered(false);
        },
        true);
    defineCommand(
        QStringLiteral("OutlookEMailBitBtnClick"),
        [this] {
            const QString address = AsciiLower(ActiveTable()->text(QStringLiteral("Mail")));
            if (!m_shell.open(QStringLiteral("mailto:") + address))
                m_dialogs.notice(
                    QStringLiteral("Unable to start mail client. Make sure you have it "
                                   "properly set-up on your system."));
        },
        true);
    defineCommand(
        QStringLiteral("Hilfedatei1Click"),
        [this] {
            if (!m_shell.open(m_folders.helpDir + m_config.helpPage))
                m_dialogs.notice(
                    QStringLiteral("Unable to start internet browser! Make sure you have "
                                   "it properly set-up on your system!"));
        },
        false);
    defineCommand(
        QStringLiteral("Update1Click"),
        [this] {
            if (!m_shell.open(m_config.productWebPage))
                m_dialogs.notice(
                    QStringLiteral("Unable to start mail client. Make sure you have it "
                                   "properly set-up on your system."));
        },
        false);
    defineCommand(
        QStringLiteral("Info1Click"), [this] { TAboutBox(m_config, this).exec(); }, false);
    defineCommand(
        QStringLiteral("SerienmailBitBtnClick"), [this] { TSerienmailInfoForm(this).exec(); },
        false);
    defineCommand(
        QStringLiteral("Beenden1Click"), [this] { close(); }, false);
    defineBulkCommands();
    defineEditingCommands();
    defineTransferCommands();
    defineLetterCommands();

    buildWindow();
    updateCommandStates();
    FormCreate();
}

TMainForm::~TMainForm() {
    m_model->setTable(nullptr);
}

void TMainForm::defineCommand(const QString& name, std::function<void()> handler,
                              bool needsDatabase) {
    Command& command = m_commands[name];
    command.handler = std::move(handler);
    command.needsDatabase = needsDatabase;
}

void TMainForm::setCommand(const QString& name, std::function<void()> handler) {
    m_commands[name].handler = std::move(handler);
    updateCommandStates();
}

void TMainForm::runCommand(const QString& name) {
    const auto it = m_commands.constFind(name);
    if (it == m_commands.constEnd() || !it->handler || !it->available)
        return;
    const Command command = *it;
    runGuarded(m_dialogs, [&] {
        if (command.needsDatabase && !requireDatabase())
            return;
        command.handler();
    });
}

bool TMainForm::requireDatabase() {
    if (ActiveTable() && ActiveTable()->isOpen())
        return true;
    m_dialogs.information(kNeedsDatabase);
    return false;
}

void TMainForm::updateCommandStates() {
    for (const Command& command : std::as_const(m_commands)) {
        const bool enabled = command.handler && command.available;
        for (QAction* action : command.actions)
            action->setEnabled(enabled);
        for (QAbstractButton* button : command.buttons)
            button->setEnabled(enabled);
    }
}

// ---- window -------------------------------------------------------------------------

void TMainForm::buildWindow() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_image = new QLabel(central);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setFixedHeight(64);
    // The picture is wider than most screens; it is cut at the right, never widens the window.
    m_image->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_image->setAutoFillBackground(true);
    m_image->setStyleSheet(QStringLiteral("background-color: #0f6f7a;"));
    layout->addWidget(m_image);

    layout->addWidget(buildToolBar());

    m_databaseLabel = new QLabel(central);
    m_databaseLabel->setObjectName(QStringLiteral("DatabaseLabel"));
    QFont bold = m_databaseLabel->font();
    bold.setBold(true);
    m_databaseLabel->setFont(bold);
    m_databaseLabel->setContentsMargins(6, 4, 6, 4);
    m_databaseLabel->setText(QStringLiteral("Geöffnete Datenbank: "));
    layout->addWidget(m_databaseLabel);

    m_model = new RecordGridModel(this);
    m_grid = new RecordGrid(central);
    m_grid->setRecordModel(m_model);
    m_grid->installEventFilter(this);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { DBGrid1DblClick(); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int logical) { DBGrid1TitleClick(logical); });
    layout->addWidget(m_grid, 1);

    layout->addWidget(buildButtonPanels());
    setCentralWidget(central);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(status);

    buildMenus();
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popup->exec(m_grid->viewport()->mapToGlobal(at)); });
}

QAction* TMainForm::menuItem(QMenu* menu, const QString& objectName, const QString& caption,
                             const QString& command, const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(objectName);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    m_commands[command].actions.append(action);
    return action;
}

void TMainForm::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* program = bar->addMenu(QStringLiteral("&Programm"));
    menuItem(program, QStringLiteral("SerienBriefschreiben1"),
             QStringLiteral("Serien-Brief schreiben"), QStringLiteral("MailBitBtnClick"),
             Qt::Key_F2);
    menuItem(program, QStringLiteral("DatenstzeImportieren1"),
             QStringLiteral("Datensätze importieren"),
             QStringLiteral("ImportDelimiterDatei1Click"));
    menuItem(program, QStringLiteral("Datenstzeexportieren1"),
             QStringLiteral("Datensätze exportieren"),
             QStringLiteral("Datenstzeexportieren1Click"));
    program->addSeparator();
    menuItem(program, QStringLiteral("Beenden1"), QStringLiteral("Beenden"),
             QStringLiteral("Beenden1Click"), QKeySequence(Qt::ALT | Qt::Key_X));

    QMenu* edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    menuItem(edit, QStringLiteral("NeueAdresseeingeben1"), QStringLiteral("&Neue Adresse eingeben"),
             QStringLiteral("NewRecord"), Qt::Key_F5);
    menuItem(edit, QStringLiteral("BerarbeitevorhandeneAdresse1"),
             QStringLiteral("&Berarbeite vorhandene Adresse"), QStringLiteral("EditRecord"),
             Qt::Key_F4);
    menuItem(edit, QStringLiteral("LschevorhandeneAdresse1"),
             QStringLiteral("&Lösche vorhandene Adresse"), QStringLiteral("DeleteRecord"),
             Qt::Key_F8);
    menuItem(edit, QStringLiteral("Suchen1"), QStringLiteral("&Suche nach Adresse"),
             QStringLiteral("Suchen1Click"), Qt::Key_F3);

    QMenu* special = bar->addMenu(QStringLiteral("&Spezial"));
    menuItem(special, QStringLiteral("Filter1"), QStringLiteral("&Filter"),
             QStringLiteral("UniversalFilterTBClick"));
    menuItem(special, QStringLiteral("OutlookmitderselektiertenEmailstarten1"), kOutlookCaption,
             QStringLiteral("OutlookEMailBitBtnClick"));
    menuItem(special, QStringLiteral("MarkierenvonIDbisID1"),
             QStringLiteral("Markieren von ID bis ID"),
             QStringLiteral("MarkierenvonIDbisID1Click"));

    QAction* salutation = bar->addAction(QStringLiteral("Grußformel"));
    salutation->setObjectName(QStringLiteral("Grussormel1"));
    connect(salutation, &QAction::triggered, this,
            [this] { runCommand(QStringLiteral("Grussormel1Click")); });
    m_commands[QStringLiteral("Grussormel1Click")].actions.append(salutation);

    QMenu* remove = bar->addMenu(QStringLiteral("&Löschen"));
    menuItem(remove, QStringLiteral("AllemarkiertenDatenstzelschen2"),
             QStringLiteral("Alle markierten Datensätze löschen"),
             QStringLiteral("AllemarkiertenDatenstzelschen2Click"));
    menuItem(remove, QStringLiteral("Datenbankkomplettleeren1"),
             QStringLiteral("Datenbank komplett leeren"),
             QStringLiteral("Datenbankkomplettleeren1Click"));

    QMenu* backup = bar->addMenu(QStringLiteral("Datensicherung"));
    menuItem(backup, QStringLiteral("Backup2"), QStringLiteral("Datenbank(en) sichern"),
             QStringLiteral("Backup2Click"));
    menuItem(backup, QStringLiteral("Restore1"), QStringLiteral("Datenbank(en) wieder herstellen"),
             QStringLiteral("Restore1Click"));

    QMenu* databases = bar->addMenu(QStringLiteral("Datenbanken"));
    menuItem(databases, QStringLiteral("Datenbankffnen2"), QStringLiteral("Datenbank öffnen"),
             QStringLiteral("OpenModeClick"), Qt::Key_F12);
    menuItem(databases, QStringLiteral("NeueDatenbankerzeugen1"),
             QStringLiteral("Neue frei definierbare Datenbank erzeugen"),
             QStringLiteral("NeueDatenbankerzeugen1Click"));
    menuItem(databases, QStringLiteral("Datenbanklschen2"), QStringLiteral("Datenbank löschen"),
             QStringLiteral("Datenbanklschen2Click"));
    menuItem(databases, QStringLiteral("Datentransfer1"),
             QStringLiteral("Datentransfer zwischen den Datenbanken"),
             QStringLiteral("Datentransfer1Click"));

    QMenu* help = bar->addMenu(QStringLiteral("&Hilfe"));
    menuItem(help, QStringLiteral("Hilfedatei1"), QStringLiteral("&Hilfedatei"),
             QStringLiteral("Hilfedatei1Click"));
    menuItem(help, QStringLiteral("Update1"), QStringLiteral("Update"),
             QStringLiteral("Update1Click"));
    menuItem(help, QStringLiteral("Info1"), QStringLiteral("&Info"), QStringLiteral("Info1Click"));

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("DBGridPopupMenu"));
    menuItem(m_popup, QStringLiteral("Outlookstarten1"), kOutlookCaption,
             QStringLiteral("OutlookEMailBitBtnClick"));
    menuItem(m_popup, QStringLiteral("AusdruckinsClipboardkopieren1"),
             QStringLiteral("Ausdruck ins Clipboard kopieren"),
             QStringLiteral("CopyDBGridToClipboardClick"));
}

QToolButton* TMainForm::toolButton(const QString& objectName, const QString& caption,
                                   const QString& command, const QString& hint, const QIcon& icon) {
    auto* button = new QToolButton;
    button->setObjectName(objectName);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(icon);
    // Only the two navigation buttons carry their caption; the others speak through the hint.
    const bool captioned = objectName == u"FirstButton" || objectName == u"LastButton";
    button->setToolButtonStyle(captioned ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, [this, command] { runCommand(command); });
    m_commands[command].buttons.append(button);
    return button;
}

QWidget* TMainForm::buildToolBar() {
    auto* bar = new QToolBar;
    bar->setObjectName(QStringLiteral("ControllBar1"));
    bar->setMovable(false);
    bar->setIconSize(QSize(22, 22));
    bar->addWidget(toolButton(QStringLiteral("ToolButton3"), QStringLiteral("Serienbrief"),
                              QStringLiteral("MailBitBtnClick"), kMailHint,
                              ToolIcons::icon(ToolIcons::Kind::Letter)));
    bar->addWidget(toolButton(QStringLiteral("ToolButton4"), QStringLiteral("Serien E-Mail"),
                              QStringLiteral("SerienmailBitBtnClick"),
                              QStringLiteral("Serien E-Mail"),
                              ToolIcons::icon(ToolIcons::Kind::Email)));
    bar->addWidget(toolButton(QStringLiteral("SearchTB"), QStringLiteral("Suche"),
                              QStringLiteral("SearchTBClick"), kSearchHint,
                              ToolIcons::icon(ToolIcons::Kind::Search)));
    bar->addWidget(toolButton(QStringLiteral("ToolButton2"), QStringLiteral("Filter"),
                              QStringLiteral("UniversalFilterTBClick"), kFilterHint,
                              ToolIcons::icon(ToolIcons::Kind::Filter)));
    bar->addWidget(toolButton(QStringLiteral("ToolButton1"), QStringLiteral("Markieren nach Text"),
                              QStringLiteral("ToolButton1Click"),
                              QStringLiteral("Alle Datensätze mit folgendem Wortlaut markieren"),
                              ToolIcons::icon(ToolIcons::Kind::MarkText)));
    bar->addSeparator();

    m_presetBox = new QComboBox;
    m_presetBox->setObjectName(QStringLiteral("ComboBox1"));
    m_presetBox->setMaxVisibleItems(30);
    m_presetBox->setMinimumContentsLength(24);
    m_presetBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_presetBox->setToolTip(QStringLiteral("Filtern der Datenbank nach vorgegeben Kriterien"));
    connect(m_presetBox, &QComboBox::activated, this, &TMainForm::ComboBox1Change);
    bar->addWidget(m_presetBox);
    bar->addSeparator();

    bar->addWidget(toolButton(QStringLiteral("SelectAllTB"), QStringLiteral("Alle markieren"),
                              QStringLiteral("SelectAllTBClick"),
                              QStringLiteral("alle Adressen markieren"),
                              ToolIcons::icon(ToolIcons::Kind::MarkAll)));
    bar->addWidget(toolButton(QStringLiteral("UnselectAllTB"), QStringLiteral("Alle unmarkieren"),
                              QStringLiteral("UnselectAllTBClick"),
                              QStringLiteral("alle Adressen unmarkieren"),
                              ToolIcons::icon(ToolIcons::Kind::UnmarkAll)));
    bar->addSeparator();

    m_statusPanel = new QLabel;
    m_statusPanel->setObjectName(QStringLiteral("StatusPanel"));
    m_statusPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_statusPanel->setAutoFillBackground(true);
    m_statusPanel->setStyleSheet(
        QStringLiteral("background: white; color: black; padding: 2px 8px;"));
    m_statusPanel->setMinimumWidth(130);
    m_statusPanel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_statusPanel);
    bar->addSeparator();

    bar->addWidget(toolButton(QStringLiteral("FirstButton"), QStringLiteral("erster Datensatz"),
                              QStringLiteral("FirstButtonClick"),
                              QStringLiteral("zum erstern Datensatz springen"),
                              ToolIcons::icon(ToolIcons::Kind::First)));
    bar->addWidget(toolButton(QStringLiteral("LastButton"), QStringLiteral("letzter Datensatz"),
                              QStringLiteral("LastButtonClick"),
                              QStringLiteral("zum letzten Datensatz springen"),
                              ToolIcons::icon(ToolIcons::Kind::Last)));
    return bar;
}

QPushButton* TMainForm::panelButton(const QString& objectName, const QString& caption,
                                    const QString& command, const QString& hint) {
    auto* button = new QPushButton(caption);
    button->setObjectName(objectName);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    button->setMinimumHeight(30);
    // Buttons share the row and shrink with a narrow window instead of widening it.
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    button->setMinimumWidth(90);
    connect(button, &QPushButton::clicked, this, [this, command] { runCommand(command); });
    m_commands[command].buttons.append(button);
    return button;
}

QWidget* TMainForm::buildButtonPanels() {
    auto* panels = new QWidget;
    auto* layout = new QVBoxLayout(panels);
    layout->setContentsMargins(6, 6, 6, 6);

    m_sbPanel = new QWidget;
    m_sbPanel->setObjectName(QStringLiteral("SBBottomButtonsPanel"));
    auto* row = new QHBoxLayout(m_sbPanel);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(panelButton(QStringLiteral("NewBitBtn"), QStringLiteral("Neue Adresse (F5)"),
                               QStringLiteral("NewRecord"), kNewHint));
    row->addWidget(panelButton(QStringLiteral("EditBitBtn"),
                               QStringLiteral("Adresse bearbeiten (F4)"),
                               QStringLiteral("EditRecord"), kEditHint));
    row->addWidget(panelButton(QStringLiteral("BitBtn1"), QStringLiteral("Suche (F3)"),
                               QStringLiteral("SearchTBClick"), kSearchHint));
    row->addWidget(panelButton(QStringLiteral("MailBitBtn"),
                               QStringLiteral("Serien-Brief schreiben (F2)"),
                               QStringLiteral("MailBitBtnClick"), kMailHint));
    row->addWidget(panelButton(QStringLiteral("ImportBitBtn"),
                               QStringLiteral("Adressen importieren"),
                               QStringLiteral("ImportDelimiterDatei1Click"), kImportHint));
    m_openModeButton =
        panelButton(QStringLiteral("OpenModeBitBtn"), QStringLiteral("DB öffnen (F12)"),
                    QStringLiteral("OpenModeClick"), QString());
    row->addWidget(m_openModeButton);
    row->addWidget(panelButton(QStringLiteral("SerienmailBitBtn"), QStringLiteral("Serien E-Mail"),
                               QStringLiteral("SerienmailBitBtnClick"),
                               QStringLiteral("Serien E-Mail")));
    layout->addWidget(m_sbPanel);

    m_dbPanel = new QWidget;
    m_dbPanel->setObjectName(QStringLiteral("DBBottomButtonsPanel"));
    auto* grid = new QGridLayout(m_dbPanel);
    grid->setContentsMargins(0, 0, 0, 0);
    const QList<QPushButton*> upper{
        panelButton(QStringLiteral("BitBtn2"), QStringLiteral("Neue Adresse (F5)"),
                    QStringLiteral("NewRecord"), kNewHint),
        panelButton(QStringLiteral("BitBtn9"), QStringLiteral("Adresse löschen (F8)"),
                    QStringLiteral("DeleteRecord"), kDeleteHint),
        panelButton(QStringLiteral("BitBtn4"), QStringLiteral("Suche (F3)"),
                    QStringLiteral("SearchTBClick"), kSearchHint),
        panelButton(QStringLiteral("BitBtn10"), QStringLiteral("Mehrfach Filter"),
                    QStringLiteral("ToolButton1Click"), kFilterHint),
        panelButton(QStringLiteral("BitBtn7"), QStringLiteral("DB öffnen (F12)"),
                    QStringLiteral("OpenModeClick"),
                    QStringLiteral("Öffnet weitere Datenbanken (falls vorhanden)")),
        panelButton(QStringLiteral("BitBtn5"), QStringLiteral("Serien-Brief (F2)"),
                    QStringLiteral("MailBitBtnClick"), kMailHint)};
    const QList<QPushButton*> lower{
        panelButton(QStringLiteral("BitBtn3"), QStringLiteral("Adresse bearbeiten (F4)"),
                    QStringLiteral("EditRecord"), kEditHint),
        panelButton(QStringLiteral("BitBtn11"), QStringLiteral("Outlook starten"),
                    QStringLiteral("OutlookEMailBitBtnClick"),
                    QStringLiteral("Outlook mit der selektierten Email starten")),
        panelButton(QStringLiteral("BitBtn13"), QStringLiteral("Filter"),
                    QStringLiteral("UniversalFilterTBClick"), kFilterHint),
        panelButton(QStringLiteral("BitBtn6"), QStringLiteral("Adressen importieren"),
                    QStringLiteral("ImportDelimiterDatei1Click"), kImportHint),
        panelButton(QStringLiteral("BitBtn12"), QStringLiteral("Datenbank(en) sichern"),
                    QStringLiteral("Backup2Click"),
                    QStringLiteral("Macht eine Datensicherung aller vorhandenen Datenbanken")),
        panelButton(QStringLiteral("BitBtn8"), QStringLiteral("Serien E-Mail"),
                    QStringLiteral("SerienmailBitBtnClick"), QStringLiteral("Serien E-Mail"))};
    for (int i = 0; i < upper.size(); ++i) {
        grid->addWidget(upper[i], 0, i);
        grid->addWidget(lower[i], 1, i);
    }
    layout->addWidget(m_dbPanel);
    return panels;
}

// ---- start, activation, end ---------------------------------------------------------

void TMainForm::FormCreate() {
    const bool database = m_config.edition == ProductConfig::Edition::Database;
    m_sbPanel->setVisible(!database);
    m_dbPanel->setVisible(database);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        setGeometry(area.x(), area.y(), area.width(), std::max(200, area.height() - 27));
    }
    setWindowTitle(m_config.productTitle);
    m_image->setPixmap(QPixmap(m_folders.pictureDir + m_config.headerPicture));
    m_grid->setGridFont(gridFont());

    runGuarded(m_dialogs, [&] {
        m_catalogueLines =
            TextFile::readLines(m_folders.programDir + QStringLiteral("Buttons.ini"));
        for (const QString& name : {QStringLiteral("True.bmp"), QStringLiteral("False.bmp")}) {
            const QString path = FileNames::resolve(m_folders.imagesDir + name);
            QPixmap picture(path);
            if (picture.isNull())
                throw QuillonError(
                    QStringLiteral("Das Bild „%1“ kann nicht geladen werden.").arg(path));
            (name == u"True.bmp" ? m_truePicture : m_falsePicture) = picture;
        }
        m_grid->setCellPictures(m_truePicture, m_falsePicture);

        const bool offered = Catalogue::offersDatabaseCommands(m_catalogueLines);
        m_openModeButton->setVisible(offered);
        for (const char* name : {"OpenModeClick", "Datenbanklschen2Click", "Datentransfer1Click"})
            m_commands[QString::fromLatin1(name)].available = offered;
        updateCommandStates();
        // BitBtn7 of the database edition's panel stays available whatever the catalogue holds.
        if (QPushButton* open = findChild<QPushButton*>(QStringLiteral("BitBtn7")))
            open->setEnabled(bool(m_commands[QStringLiteral("OpenModeClick")].handler));

        if (StartupChecks::databasesInUse(m_folders.dataDir)) {
            m_refusedToStart = true;
            m_dialogs.information(StartupChecks::inUseMessage());
            return;
        }
        OpenDatabase(QStringLiteral("Database.ini"));
    });
    if (!m_refusedToStart)
        ProtectTemplates();
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !m_closing)
        FormActivate();
    return QMainWindow::event(event);
}

void TMainForm::FormActivate() {
    // The window becomes active again when our own message box closes; checking then would
    // show the same message for ever.
    if (m_skipNextActivation) {
        m_skipNextActivation = false;
        return;
    }
    bool shown = false;
    class Observer : public UserDialogs {
    public:
        Observer(UserDialogs& inner, bool& shown) : m_inner(inner), m_shown(shown) {}
        Answer message(Kind kind, const QString& text, Buttons buttons) override {
            m_shown = true;
            return m_inner.message(kind, text, buttons);
        }
        QString openFileName(const QString& c, const QString& f, const QString& x) override {
            return m_inner.openFileName(c, f, x);
        }
        QString saveFileName(const QString& c, const QString& f, const QString& x) override {
            return m_inner.saveFileName(c, f, x);
        }
        QString folderName(const QString& c, const QString& f) override {
            return m_inner.folderName(c, f);
        }

    private:
        UserDialogs& m_inner;
        bool& m_shown;
    } observer(m_dialogs, shown);
    runGuarded(observer, [&] { StartupChecks::checkSettingsFile(m_folders.programDir, observer); });
    m_skipNextActivation = shown;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TMainForm::FormClose() {
    m_closing = true;
    runGuarded(m_dialogs, [&] {
        if (ActiveTable())
            SaveGridLayout(layoutFileFor(CurrentTableList()));
    });
    m_catalogueLines.clear();
    runGuarded(m_dialogs, [&] {
        if (ActiveTable() && ActiveTable()->isOpen())
            ActiveTable()->post();
    });
}

// ---- the open database --------------------------------------------------------------

QString TMainForm::layoutFileFor(const QString& tableListName) const {
    return DescriptorPaths::layoutFile(m_folders.dataDir, tableListName);
}

void TMainForm::OpenDatabase(const QString& tableListName) {
    if (!tableListName.isEmpty()) {
        FileNames::requirePlainFileName(tableListName,
                                        m_folders.programDir + QStringLiteral("Buttons.ini"));
        if (ActiveTable())
            SaveGridLayout(layoutFileFor(CurrentTableList()));
        FreeTables();
        m_session.loadTableList(tableListName);
        PrepareTables();
        OpenTable(1);
        m_session.setCurrentTableList(tableListName);
    }
    m_grid->setFocus();
    LoadGridLayout(layoutFileFor(tableListName));
    const int line = Catalogue::entryLineFor(m_catalogueLines, tableListName);
    m_currentDatabaseName =
        line < m_catalogueLines.size() ? Catalogue::displayName(m_catalogueLines[line]) : QString();
    m_databaseLabel->setText(QStringLiteral("Geöffnete Datenbank: ") + m_currentDatabaseName);
}

void TMainForm::FreeTables() {
    m_model->setTable(nullptr);
    m_session.freeTables();
}

void TMainForm::PrepareTables() {
    m_session.prepareTables();
}

bool TMainForm::OpenTable(int n) {
    Table* table = m_session.table(n);
    if (!table)
        return false;
    connect(table, &Table::afterOpen, this, &TMainForm::ShowRecordCount, Qt::UniqueConnection);
    connect(table, &Table::afterPost, this, &TMainForm::ShowRecordCount, Qt::UniqueConnection);
    m_model->setTable(table);
    m_presetBox->clear();
    const bool open = m_session.openTable(n);
    fillPresetBox();
    QStringList logical;
    for (const ProfileField& field : Profile::fields(ProfileLines()))
        if (field.isBoolean())
            logical.append(field.name);
    m_model->setLogicalFields(logical);
    return open;
}

void TMainForm::fillPresetBox() {
    m_presetBox->clear();
    m_presetBox->addItems(FilterPresets::labels(FilterLines()));
    if (m_presetBox->count() > 0)
        m_presetBox->setCurrentIndex(0);
}

void TMainForm::ShowRecordCount() {
    if (ActiveTable() && ActiveTable()->isOpen())
        m_statusPanel->setText(QString::number(ActiveTable()->recordCount()) +
                               QStringLiteral(" Datensätze"));
}

void TMainForm::SaveGridLayout(const QString& path) {
    m_model->clearHighlights();
    QHeaderView* header = m_grid->horizontalHeader();
    QList<GridColumn> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || logical >= m_model->columns().size())
            continue;
        GridColumn column = m_model->columns()[logical];
        column.width = header->sectionSize(logical);
        column.visible = !header->isSectionHidden(logical);
        columns.append(column);
    }
    GridLayout::write(path, columns);
}

void TMainForm::LoadGridLayout(const QString& path) {
    QList<GridColumn> columns;
    if (hasOpenTable()) {
        columns = GridColumns::defaultColumns(*ActiveTable());
        QList<GridColumn> loaded;
        if (GridLayout::read(path, &loaded)) {
            const QList<GridColumn> fitted = GridColumns::fitToTable(loaded, *ActiveTable());
            if (!fitted.isEmpty())
                columns = fitted;
        }
    }
    applyColumns(columns);
    ApplyDisplayNames();
}

void TMainForm::ApplyDisplayNames() {
    QList<GridColumn> columns = m_model->columns();
    GridColumns::ApplyDisplayNames(columns, ProfileLines());
    for (int i = 0; i < columns.size(); ++i)
        m_model->column(i).title = columns[i].title;
    if (!columns.isEmpty())
        emit m_model->headerDataChanged(Qt::Horizontal, 0, columns.size() - 1);
}

void TMainForm::applyColumns(const QList<GridColumn>& columns) {
    m_model->setColumns(columns);
    QHeaderView* header = m_grid->horizontalHeader();
    for (int logical = 0; logical < columns.size(); ++logical) {
        const int visual = header->visualIndex(logical);
        if (visual != logical)
            header->moveSection(visual, logical);
        header->resizeSection(logical, columns[logical].width);
        header->setSectionHidden(logical, !columns[logical].visible);
    }
    m_grid->syncToTable();
}

void TMainForm::setStatusText(const QString& text) {
    if (text.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(text);
    statusBar()->repaint();
}

QString TMainForm::statusText() const {
    return statusBar()->currentMessage();
}

// ---- commands -----------------------------------------------------------------------

void TMainForm::NewRecord() {
    runCommand(QStringLiteral("NewRecord"));
}
void TMainForm::EditRecord() {
    runCommand(QStringLiteral("EditRecord"));
}
void TMainForm::DeleteRecord() {
    runCommand(QStringLiteral("DeleteRecord"));
}
void TMainForm::Suchen1Click() {
    runCommand(QStringLiteral("Suchen1Click"));
}
void TMainForm::SearchTBClick() {
    runCommand(QStringLiteral("SearchTBClick"));
}
void TMainForm::UniversalFilterTBClick() {
    runCommand(QStringLiteral("UniversalFilterTBClick"));
}
void TMainForm::ToolButton1Click() {
    runCommand(QStringLiteral("ToolButton1Click"));
}
void TMainForm::FirstButtonClick() {
    runCommand(QStringLiteral("FirstButtonClick"));
}
void TMainForm::LastButtonClick() {
    runCommand(QStringLiteral("LastButtonClick"));
}
void TMainForm::MailBitBtnClick() {
    runCommand(QStringLiteral("MailBitBtnClick"));
}
void TMainForm::OutlookEMailBitBtnClick() {
    runCommand(QStringLiteral("OutlookEMailBitBtnClick"));
}
void TMainForm::Hilfedatei1Click() {
    runCommand(QStringLiteral("Hilfedatei1Click"));
}
void TMainForm::Update1Click() {
    runCommand(QStringLiteral("Update1Click"));
}
void TMainForm::Info1Click() {
    runCommand(QStringLiteral("Info1Click"));
}
void TMainForm::Beenden1Click() {
    runCommand(QStringLiteral("Beenden1Click"));
}
void TMainForm::SerienmailBitBtnClick() {
    runCommand(QStringLiteral("SerienmailBitBtnClick"));
}

void TMainForm::ComboBox1Change(int index) {
    runGuarded(m_dialogs, [&] {
        if (!hasOpenTable())
            return;
        // A change without a chosen entry takes line 0, the header, as its preset.
        const QString expression = FilterPresets::expression(FilterLines(), index + 1);
        ActiveTable()->setFilter(expression);
        ActiveTable()->setFiltered(true);
        ShowRecordCount();
    });
}

void TMainForm::DBGrid1DblClick() {
    runGuarded(m_dialogs, [&] {
        if (!hasOpenTable() || ActiveTable()->isEmpty())
            return;
        const QModelIndex current = m_grid->currentIndex();
        if (!current.isValid())
            return;
        const QString fieldName = m_model->columns().value(current.column()).fieldName;
        const int line = Profile::lineOfField(ProfileLines(), fieldName);
        if (line > 0 && ProfileField::fromLine(ProfileLines()[line]).isBoolean()) {
            Table* table = ActiveTable();
            table->moveTo(current.row());
            const int field = table->fieldIndex(fieldName);
            table->edit();
            table->setValue(field, !table->asBool(field));
            table->post();
            return;
        }
        EditRecord();
        m_grid->setFocus();
    });
}

void TMainForm::DBGrid1TitleClick(int column) {
    runGuarded(m_dialogs, [&] {
        if (!hasOpenTable())
            return;
        QHeaderView* header = m_grid->horizontalHeader();
        const QModelIndex current = m_grid->currentIndex();
        if (current.isValid())
            m_grid->setCurrentIndex(m_model->index(current.row(), header->logicalIndex(0)));
        const QString fieldName = m_model->columns().value(column).fieldName;
        const QStringList& lines = ProfileLines();
        const int lastLine = std::min<int>(ActiveTable()->fieldCount(), lines.size() - 1);
        for (int i = 0; i <= lastLine; ++i) {
            const ProfileField field = ProfileField::fromLine(lines[i]);
            if (field.name != fieldName || !field.isSortable() || field.indexName.isEmpty())
                continue;
            // An order over a million records takes a moment, more so when its index has to be
            // built first after a bulk change.
            WaitCursor wait;
            const bool sortedByIt = m_model->isHighlighted(column);
            m_model->clearHighlights();
            if (sortedByIt) {
                ActiveTable()->setIndexName(QString());
            } else {
                m_model->setHighlighted(column, true);
                ActiveTable()->setIndexName(field.indexName);
            }
        }
    });
}

void TMainForm::deleteCurrentRecordAsked() {
    runGuarded(m_dialogs, [&] {
        if (!hasOpenTable() || ActiveTable()->isEmpty())
            return;
        if (m_dialogs.message(UserDialogs::Kind::Confirmation, QStringLiteral("Datensatz löschen?"),
                              UserDialogs::Buttons::OkCancel) == UserDialogs::Answer::Ok)
            ActiveTable()->deleteRecord();
    });
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Space && modifiers == Qt::NoModifier) {
            DBGrid1DblClick();
            return true;
        }
        if (key->key() == Qt::Key_F && modifiers == Qt::ControlModifier) {
            Suchen1Click();
            return true;
        }
        if (key->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier) {
            deleteCurrentRecordAsked();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- marking and bulk operations ----------------------------------------------------

void TMainForm::defineBulkCommands() {
    m_idForm = new TDoIDForm(m_dialogs, this);
    const auto progress = [this](const QString& text) { setStatusText(text); };
    // Whatever happens, the status panel is empty when a bulk command ends.
    const auto clearingStatus = [this](auto body) {
        return [this, body] {
            try {
                body();
            } catch (...) {
                setStatusText(QString());
                ShowRecordCount();
                throw;
            }
            setStatusText(QString());
            ShowRecordCount();
        };
    };
    defineCommand(QStringLiteral("SelectAllTBClick"), clearingStatus([this, progress] {
                      WaitCursor wait;
                      if (hasOpenTable())
                          Marking::markAll(*ActiveTable(), progress);
                  }),
                  false);
    defineCommand(QStringLiteral("UnselectAllTBClick"), clearingStatus([this, progress] {
                      if (!hasOpenTable() || !m_dialogs.confirm(QStringLiteral(
                                                 "Alle markierten Datensätze unmarkieren?")))
                          return;
                      WaitCursor wait;
                      Marking::unmarkAll(*ActiveTable(), progress);
                  }),
                  false);
    defineCommand(QStringLiteral("MarkierenvonIDbisID1Click"), clearingStatus([this, progress] {
                      m_idForm->setDoText(QStringLiteral("Markieren"));
                      m_idForm->setWindowTitle(QStringLiteral("Markieren von ID bis ID"));
                      if (m_idForm->exec() != QDialog::Accepted)
                          return;
                      WaitCursor wait;
                      Marking::markIdRange(*ActiveTable(), m_idForm->range().start,
                                           m_idForm->range().end, progress);
                  }),
                  true);
    defineCommand(QStringLiteral("AllemarkiertenDatenstzelschen2Click"),
                  clearingStatus([this, progress] {
                      if (!m_dialogs.confirm(QStringLiteral(
                              "Wollen Sie wirklich alle markierten Datensätze löschen?")))
                          return;
                      WaitCursor wait;
                      Marking::deleteMarked(*ActiveTable(), progress);
                  }),
                  true);
    defineCommand(
        QStringLiteral("Datenbankkomplettleeren1Click"),
        [this] {
            if (!m_dialogs.confirm(QStringLiteral(
                    "Datenbank komplett leeren? Alle Datensätze gehen dabei verloren!")) ||
                !m_dialogs.confirm(QStringLiteral(
                    "Wollen Sie wirklich alle Datensätze in dieser Datenbank löschen?")))
                return;
            WaitCursor wait;
            const QString tableList = Marking::emptyDatabase(*ActiveTable());
            OpenDatabase(tableList);
        },
        true);
}

// ---- editor, filters, search --------------------------------------------------------

void TMainForm::defineEditingCommands() {
    const auto editor = [this](TEdForm::Mode mode) {
        return [this, mode] {
            if (!m_editForm)
                m_editForm = new TEdForm(*this, this);
            m_editForm->ShowMode(mode);
            ShowRecordCount();
            m_grid->setFocus();
        };
    };
    defineCommand(QStringLiteral("NewRecord"), editor(TEdForm::Mode::New), true);
    defineCommand(QStringLiteral("EditRecord"), editor(TEdForm::Mode::Edit), true);
    defineCommand(QStringLiteral("DeleteRecord"), editor(TEdForm::Mode::Delete), true);
    const auto search = [this](bool fromStart) {
        return [this, fromStart] {
            if (!m_searchForm)
                m_searchForm = new TSearchForm(*this, this);
            if (fromStart)
                ActiveTable()->first();
            m_searchForm->exec();
            ShowRecordCount();
        };
    };
    // The search works on the open table, so without one it answers as the other commands do.
    defineCommand(QStringLiteral("Suchen1Click"), search(false), true);
    defineCommand(QStringLiteral("SearchTBClick"), search(true), true);
    defineCommand(
        QStringLiteral("UniversalFilterTBClick"),
        [this] {
            if (!m_filterForm)
                m_filterForm = new TFilterForm(*this, this);
            m_filterForm->exec();
            ShowRecordCount();
        },
        true);
    defineCommand(
        QStringLiteral("ToolButton1Click"),
        [this] {
            if (!m_filter2Form)
                m_filter2Form = new TFilter2Form(*this, this);
            ActiveTable()->first();
            m_filter2Form->exec();
            ShowRecordCount();
        },
        true);
}
