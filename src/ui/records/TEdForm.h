#pragma once

#include "TDoUpdatesForm.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class TMainForm;

// The record editor: one label and one input control per profile entry of the open table,
// built for each showing, to enter, change or delete the current record.
class TEdForm : public QDialog {
    Q_OBJECT
public:
    enum class Mode { New, Edit, Delete };

    explicit TEdForm(TMainForm& main, QWidget* parent = nullptr);

    // Builds the controls from the open table's profile and choice lists for this showing and
    // runs the window modally in the mode.
    void ShowMode(Mode mode);

    Mode mode() const { return m_mode; }
    bool CloseAllowed() const { return m_closeAllowed; }
    // The hooks stay owned by the caller and must outlive the editor.
    void setUpdateHooks(TDoUpdatesForm& hooks) { m_hooks = &hooks; }

public slots:
    void OKSpeedButtonClick();
    void AbortSpeedButtonClick();
    void HilfeBitBtnClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    // One generated row: the input control and the table field it stands for (-1 when the
    // table lacks the field).
    struct Binding {
        QString fieldName;
        int field = -1;
        QWidget* control = nullptr;
        QLineEdit* edit = nullptr;
        QComboBox* combo = nullptr;
        QCheckBox* check = nullptr;
    };

    void BuildControls();
    void FreeControls();
    void FormActivate();
    bool FormKeyDown(QKeyEvent* key);
    void loadValues();
    void writeChangedValues();
    void ensureVisible(QWidget* now);

    TMainForm& m_main;
    TDoUpdatesForm m_defaultHooks;
    TDoUpdatesForm* m_hooks = &m_defaultHooks;
    Mode m_mode = Mode::Edit;
    bool m_closeAllowed = false;
    QList<Binding> m_bindings;

    QWidget* m_topPanel = nullptr;
    QWidget* m_bottomPanel = nullptr;
    QLabel* m_title = nullptr;
    QScrollArea* m_scrollBox = nullptr;
    QPointer<QWidget> m_rows;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_abortButton = nullptr;
};
