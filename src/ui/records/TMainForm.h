#pragma once

#include "definitions/DatabaseSession.h"
#include "definitions/GridLayout.h"
#include "foundations/ProductConfig.h"

#include <QHash>
#include <QMainWindow>
#include <QPixmap>
#include <functional>

class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;
class RecordGrid;
class RecordGridModel;
class Shell;
class TDoIDForm;
class TEdForm;
class TFilter2Form;
class TFilterForm;
class TGrussformelForm;
class TMailquestionsForm;
class TOpenOrNewForm;
class TVorlageWizzard;
class TSearchForm;
class Table;
class UserDialogs;

// The main window: shows the open database in the grid and starts every command.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    TMainForm(const ProductConfig& config, const Folders& folders, UserDialogs& dialogs,
              Shell& shell, QWidget* parent = nullptr);
    ~TMainForm() override;

    // True when the lock check found the databases in use: the program must end.
    bool refusedToStart() const { return m_refusedToStart; }

    void OpenDatabase(const QString& tableListName);
    void FreeTables();
    void PrepareTables();
    bool OpenTable(int n);
    void ShowRecordCount();
    void SaveGridLayout(const QString& path);
    void LoadGridLayout(const QString& path);
    void ApplyDisplayNames();

    Table* ActiveTable() const { return m_session.activeTable(); }
    bool hasOpenTable() const { return m_session.hasOpenTable(); }
    DatabaseSession& session() { return m_session; }
    const QStringList& CatalogueLines() const { return m_catalogueLines; }
    const QStringList& TableLines() const { return m_session.tableLines(); }
    const QStringList& ProfileLines() const { return m_session.profileLines(); }
    const QStringList& ChoiceLines() const { return m_session.choiceLines(); }
    const QStringList& FilterLines() const { return m_session.filterLines(); }
    const QString& CurrentTableList() const { return m_session.currentTableList(); }
    const QString& CurrentDatabaseName() const { return m_currentDatabaseName; }
    const QString& CurrentTableFile() const { return m_session.currentTableFile(); }
    int MarkedCount() const { return m_markedCount; }
    const ProductConfig& config() const { return m_config; }
    const Folders& folders() const { return m_folders; }
    UserDialogs& dialogs() { return m_dialogs; }
    Shell& shell() { return m_shell; }
    RecordGrid* grid() const { return m_grid; }
    RecordGridModel* gridModel() const { return m_model; }

    // Progress texts of long commands go into the status bar's first panel.
    void setStatusText(const QString& text);
    QString statusText() const;

    // Serial letters: the two letter paths of the wizard's page 2, and the start-up step
    // that prepares the letters folder and write-protects the templates.
    void NewLetterFromTemplate();
    void OpenOwnDocument();
    void ProtectTemplates();

    // Windows of later parts hook in here; a command without its window stays disabled.
    void setCommand(const QString& actionName, std::function<void()> handler);

public slots:
    void NewRecord();
    void EditRecord();
    void DeleteRecord();
    void Suchen1Click();
    void SearchTBClick();
    void UniversalFilterTBClick();
    void ToolButton1Click();
    void ComboBox1Change(int index);
    void FirstButtonClick();
    void LastButtonClick();
    void MailBitBtnClick();
    void OutlookEMailBitBtnClick();
    void Hilfedatei1Click();
    void Update1Click();
    void Info1Click();
    void Beenden1Click();
    void SerienmailBitBtnClick();
    void DBGrid1DblClick();
    void DBGrid1TitleClick(int column);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Command {
        std::function<void()> handler;
        bool needsDatabase = false;
        bool available = true; // the catalogue rule for the database commands
        QList<QAction*> actions;
        QList<QAbstractButton*> buttons;
    };

    void defineBulkCommands();
    void defineEditingCommands();
    void defineTransferCommands();
    void defineLetterCommands();
    void startWordProcessor(const QString& documentPath);
    void buildWindow();
    void buildMenus();
    QWidget* buildToolBar();
    QWidget* buildButtonPanels();
    QAction* menuItem(QMenu* menu, const QString& objectName, const QString& caption,
                      const QString& command, const QKeySequence& shortcut = {});
    QPushButton* panelButton(const QString& objectName, const QString& caption,
                             const QString& command, const QString& hint);
    QToolButton* toolButton(const QString& objectName, const QString& caption,
                            const QString& command, const QString& hint, const QIcon& icon);
    void defineCommand(const QString& name, std::function<void()> handler, bool needsDatabase);
    void runCommand(const QString& name);
    void updateCommandStates();
    void FormCreate();
    void FormActivate();
    void FormClose();
    void fillPresetBox();
    void applyColumns(const QList<GridColumn>& columns);
    QString layoutFileFor(const QString& tableListName) const;
    bool requireDatabase();
    void deleteCurrentRecordAsked();

    ProductConfig m_config;
    Folders m_folders;
    UserDialogs& m_dialogs;
    Shell& m_shell;
    DatabaseSession m_session;
    QStringList m_catalogueLines;
    QString m_currentDatabaseName;
    int m_markedCount = 0;
    bool m_refusedToStart = false;
    bool m_skipNextActivation = false;
    bool m_closing = false;

    QHash<QString, Command> m_commands;
    QPixmap m_truePicture;
    QPixmap m_falsePicture;

    QLabel* m_image = nullptr;
    QComboBox* m_presetBox = nullptr;
    QLabel* m_statusPanel = nullptr;
    QLabel* m_databaseLabel = nullptr;
    RecordGrid* m_grid = nullptr;
    RecordGridModel* m_model = nullptr;
    QWidget* m_sbPanel = nullptr;
    QWidget* m_dbPanel = nullptr;
    QMenu* m_popup = nullptr;
    QPushButton* m_openModeButton = nullptr;
    TDoIDForm* m_idForm = nullptr;
    TEdForm* m_editForm = nullptr;
    TFilterForm* m_filterForm = nullptr;
    TFilter2Form* m_filter2Form = nullptr;
    TSearchForm* m_searchForm = nullptr;
    TGrussformelForm* m_grussformelForm = nullptr;
    TMailquestionsForm* m_mailquestionsForm = nullptr;
    TOpenOrNewForm* m_openOrNewForm = nullptr;
    TVorlageWizzard* m_vorlageWizzard = nullptr;
};
