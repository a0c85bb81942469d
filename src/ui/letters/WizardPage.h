#pragma once

#include <QDialog>

class QBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class TMainForm;

// Opens the help page as every help button does.
void OpenHelpPage(TMainForm& main);

// What the three letter-wizard pages share: the wizard picture at the left, their texts
// beside it, a line, and the buttons below.
class WizardPage : public QDialog {
    Q_OBJECT
public:
    WizardPage(TMainForm& main, const QString& caption, QWidget* parent);

protected:
    QLabel* addText(const QString& objectName, const QString& text, bool bold, int spaceAbove = 0);
    QPushButton* addButton(const QString& objectName, const QString& text);
    QPushButton* addNextButton(const QString& objectName);
    // Lays the window out at no less than its design size.
    void finish(const QSize& designSize);

    TMainForm& m_main;
    QVBoxLayout* m_texts;
    QBoxLayout* m_buttons;
};
