#include "TEdForm.h"

#include "TMainForm.h"
#include "definitions/Descriptors.h"
#include "foundations/CommandGuard.h"
#include "foundations/Shell.h"
#include "foundations/Table.h"
#include "foundations/TextHelpers.h"
#include "foundations/UserDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int kClientWidth = 411;
constexpr int kClientHeight = 449;
constexpr int kPanelHeight = 41;
constexpr int kScrollWidth = 409;
constexpr int kScrollHeight = 367;
constexpr int kRowHeight = 20;
constexpr int kLabelLeft = 20;
constexpr int kControlLeft = 120;
constexpr int kControlWidth = 250;
constexpr int kLabelGap = 8;

QFont dialogFont() {
    // The classic dialog font is not on Linux desktops; its size on the desktop's sans serif.
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Sans Serif")});
    return font;
}

bool isHiddenField(const QString& name) {
    return name.contains(QStringLiteral("ID")) || AsciiUpper(name) == u"ARCHIVE";
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

} // namespace

TEdForm::TEdForm(TMainForm& main, QWidget* parent) : QDialog(parent), m_main(main) {
    setObjectName(QStringLiteral("EdForm"));
    setWindowTitle(QStringLiteral("Editor"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setFont(dialogFont());
    setFixedSize(kClientWidth, kClientHeight);

    auto* top = new QFrame(this);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setFrameShape(QFrame::StyledPanel);
    top->setGeometry(0, 0, kClientWidth, kPanelHeight);
    m_topPanel = top;
    m_title = new QLabel(top);
    m_title->setObjectName(QStringLiteral("ESLabel1"));
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPixelSize(13);
    m_title->setFont(titleFont);
    m_title->move(16, 12);

    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setGeometry(0, kPanelHeight, kScrollWidth, kScrollHeight);
    m_scrollBox->setFocusPolicy(Qt::NoFocus);
    // The window widens for long captions, so only the rows ever need scrolling.
    m_scrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollBox->setWidgetResizable(false);

    auto* bottom = new QFrame(this);
    bottom->setObjectName(QStringLiteral("Panel2"));
    bottom->setFrameShape(QFrame::StyledPanel);
    bottom->setGeometry(0, kClientHeight - kPanelHeight, kClientWidth, kPanelHeight);
    m_bottomPanel = bottom;
    m_okButton = new QPushButton(QStringLiteral("Speichern (F2)"), bottom);
    m_okButton->setObjectName(QStringLiteral("OKSpeedButton"));
    m_okButton->setGeometry(24, 8, 97, 25);
    m_helpButton = new QPushButton(QStringLiteral("Hilfe"), bottom);
    m_helpButton->setObjectName(QStringLiteral("HilfeBitBtn"));
    m_helpButton->setGeometry(144, 8, 105, 25);
    m_abortButton = new QPushButton(QStringLiteral("Abbrechen (Esc)"), bottom);
    m_abortButton->setObjectName(QStringLiteral("AbortSpeedButton"));
    m_abortButton->setGeometry(272, 8, 105, 25);
    // Enter moves between fields; it must never press a button of its own accord.
    for (QPushButton* button : {m_okButton, m_helpButton, m_abortButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    // The save and cancel buttons take no focus, so the keys reach the window through the
    // help button and the generated controls.
    m_okButton->setFocusPolicy(Qt::NoFocus);
    m_abortButton->setFocusPolicy(Qt::NoFocus);
    m_helpButton->installEventFilter(this);

    connect(m_okButton, &QPushButton::clicked, this, &TEdForm::OKSpeedButtonClick);
    connect(m_abortButton, &QPushButton::clicked, this, &TEdForm::AbortSpeedButtonClick);
    connect(m_helpButton, &QPushButton::clicked, this, &TEdForm::HilfeBitBtnClick);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { ensureVisible(now); });
}

void TEdForm::ShowMode(Mode mode) {
    m_mode = mode;
    m_closeAllowed = false;
    Table* table = m_main.ActiveTable();
    if (!runGuarded(m_main.dialogs(), [&] { BuildControls(); })) {
        if (table && table->state() != Table::State::Browse)
            runGuarded(m_main.dialogs(), [&] { table->cancel(); });
        FreeControls();
        return;
    }
    FormActivate();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    exec();
    // However the window went away, no record stays half-written.
    if (table && table->isOpen() && table->state() != Table::State::Browse)
        runGuarded(m_main.dialogs(), [&] { table->cancel(); });
    FreeControls();
}

void TEdForm::BuildControls() {
    FreeControls();
    Table* table = m_main.ActiveTable();
    if (m_mode == Mode::New && table)
        table->append();

    const bool deleting = m_mode == Mode::Delete;
    m_title->setText(m_mode == Mode::Edit  ? QStringLiteral("Bearbeiten")
                     : m_mode == Mode::New ? QStringLiteral("Neueingabe")
                                           : QStringLiteral("Löschen"));
    m_title->adjustSize();
    const QColor colour = deleting ? QColor(Qt::red) : QColor(Qt::black);
    setTextColour(m_title, colour);
    setTextColour(m_okButton, colour);

    m_rows = new QWidget;
    m_rows->setObjectName(QStringLiteral("ScrollBoxRows"));
    const QStringList& lines = m_main.ProfileLines();
    const QStringList& choiceLines = m_main.ChoiceLines();
    QList<QLabel*> labels;
    for (int r = 1; r < lines.size(); ++r) {
        const ProfileField profile = ProfileField::fromLine(lines[r]);
        const QString& name = profile.name;
        const bool visible = !isHiddenField(name);
        const int top = (r - 1) * kRowHeight;
        Binding binding;
        binding.fieldName = name;
        binding.field = table ? table->findField(name) : -1;

        QWidget* control = nullptr;
        if (ChoiceLists::hasChoices(choiceLines, name)) {
            auto* combo = new QComboBox(m_rows);
            combo->setObjectName(QStringLiteral("Combo_") + name);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setMaxVisibleItems(40);
            combo->addItems(ChoiceLists::choicesFor(choiceLines, name));
            combo->lineEdit()->installEventFilter(this);
            binding.combo = combo;
            control = combo;
            if (m_mode == Mode::New && table)
                m_hooks->SetNewRecordDefault(*table, name);
        } else if (profile.isBoolean()) {
            auto* check = new QCheckBox(m_rows);
            check->setObjectName(QStringLiteral("Check_") + name);
            if (m_mode == Mode::New && binding.field >= 0)
                table->setValue(binding.field, name == u"Selected");
            binding.check = check;
            control = check;
        } else {
            auto* edit = new QLineEdit(m_rows);
            edit->setObjectName(QStringLiteral("Edit_") + name);
            binding.edit = edit;
            control = edit;
            if (m_mode == Mode::New && table)
                m_hooks->SetNewRecordDefault(*table, name);
        }
        binding.control = control;
        control->setGeometry(kControlLeft, top, kControlWidth, kRowHeight);
        control->setVisible(visible);
        control->setEnabled(binding.field >= 0);
        control->installEventFilter(this);

        auto* label = new QLabel(profile.caption(), m_rows);
        label->setObjectName(QStringLiteral("Label_") + name);
        label->adjustSize();
        label->move(kLabelLeft, top + 2);
        label->setVisible(visible);
        label->setBuddy(control);
        labels.append(label);
        m_bindings.append(binding);
    }

    // Long display names push the input column to the right instead of running under it.
    int labelWidth = 0;
    for (QLabel* label : labels)
        if (!label->isHidden())
            labelWidth = std::max(labelWidth, label->width());
    const int shift = std::max(0, kLabelLeft + labelWidth + kLabelGap - kControlLeft);
    if (shift > 0)
        for (const Binding& binding : std::as_const(m_bindings))
            binding.control->move(binding.control->x() + shift, binding.control->y());
    setFixedSize(kClientWidth + shift, kClientHeight);
    m_scrollBox->resize(kScrollWidth + shift, kScrollHeight);
    m_topPanel->resize(kClientWidth + shift, kPanelHeight);
    m_bottomPanel->resize(kClientWidth + shift, kPanelHeight);

    const int rowsWidth = m_scrollBox->width() - 2 * m_scrollBox->frameWidth() -
                          m_scrollBox->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_rows->resize(rowsWidth, std::max<int>(0, lines.size() - 1) * kRowHeight);
    m_scrollBox->setWidget(m_rows);
    loadValues();

    for (const Binding& binding : std::as_const(m_bindings)) {
        if (!binding.control->isHidden() && binding.control->isEnabled()) {
            binding.control->setFocus();
            break;
        }
    }
}

void TEdForm::loadValues() {
    Table* table = m_main.ActiveTable();
    if (!table || !table->isOpen())
        return;
    for (const Binding& binding : std::as_const(m_bindings)) {
        if (binding.field < 0)
            continue;
        if (binding.check)
            binding.check->setChecked(table->asBool(binding.field));
        else if (binding.combo)
            binding.combo->setEditText(table->text(binding.field));
        else
            binding.edit->setText(table->text(binding.field));
    }
}

void TEdForm::writeChangedValues() {
    Table* table = m_main.ActiveTable();
    // Compared with the record as the table holds it now, so a value written by a refused
    // save and typed back again is written back too.
    for (const Binding& binding : std::as_const(m_bindings)) {
        if (binding.field < 0)
            continue;
        if (binding.check) {
            const bool checked = binding.check->isChecked();
            if (checked == table->asBool(binding.field))
                continue;
            table->edit();
            table->setValue(binding.field, checked);
            continue;
        }
        const QString text = binding.combo ? binding.combo->currentText() : binding.edit->text();
        if (text == table->text(binding.field))
            continue;
        table->edit();
        table->setText(binding.field, text);
    }
}

void TEdForm::FreeControls() {
    m_bindings.clear();
    if (m_rows) {
        m_scrollBox->takeWidget();
        delete m_rows;
    }
}

void TEdForm::FormActivate() {
    m_okButton->setText(m_mode == Mode::Delete ? QStringLiteral("Löschen (F2)")
                                               : QStringLiteral("Speichern (F2)"));
}

void TEdForm::OKSpeedButtonClick() {
    Table* table = m_main.ActiveTable();
    UserDialogs& dialogs = m_main.dialogs();
    if (!table || !table->isOpen()) {
        m_closeAllowed = true;
    } else if (m_mode != Mode::Delete) {
        runGuarded(dialogs, [&] {
            writeChangedValues();
            if (table->state() != Table::State::Browse && m_hooks->ValidateRecord(*table)) {
                table->post();
                m_main.ShowRecordCount();
            }
        });
        m_closeAllowed = table->state() == Table::State::Browse;
    } else {
        m_closeAllowed = true;
        if (dialogs.message(UserDialogs::Kind::Information,
                            QStringLiteral("Datensatz wirklich löschen?"),
                            UserDialogs::Buttons::YesNo) == UserDialogs::Answer::Yes)
            runGuarded(dialogs, [&] {
                table->deleteRecord();
                m_main.ShowRecordCount();
            });
    }
    if (m_closeAllowed)
        done(QDialog::Accepted);
}

void TEdForm::AbortSpeedButtonClick() {
    Table* table = m_main.ActiveTable();
    if (table && table->isOpen() && table->state() != Table::State::Browse)
        runGuarded(m_main.dialogs(), [&] { table->cancel(); });
    m_closeAllowed = true;
    done(QDialog::Rejected);
}

void TEdForm::HilfeBitBtnClick() {
    if (!m_main.shell().open(m_main.folders().helpDir + m_main.config().helpPage))
        m_main.dialogs().notice(QStringLiteral("Unable to start internet browser! Make sure you "
                                               "have it properly set-up on your system!"));
}

void TEdForm::reject() {
    // Esc on the window itself is the cancel action, never a silent close.
    AbortSpeedButtonClick();
}

void TEdForm::closeEvent(QCloseEvent* event) {
    if (m_closeAllowed)
        event->accept();
    else
        event->ignore();
}

bool TEdForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        isAncestorOf(static_cast<QWidget*>(watched)))
        if (FormKeyDown(static_cast<QKeyEvent*>(event)))
            return true;
    return QDialog::eventFilter(watched, event);
}

bool TEdForm::FormKeyDown(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_PageDown:
        focusNextPrevChild(true);
        return true;
    case Qt::Key_PageUp:
        focusNextPrevChild(false);
        return true;
    case Qt::Key_F2:
        OKSpeedButtonClick();
        return true;
    case Qt::Key_Escape:
        AbortSpeedButtonClick();
        return true;
    default:
        return false;
    }
}

void TEdForm::ensureVisible(QWidget* now) {
    if (now && m_rows && m_rows->isAncestorOf(now))
        m_scrollBox->ensureWidgetVisible(now, 0, kRowHeight / 2);
}
