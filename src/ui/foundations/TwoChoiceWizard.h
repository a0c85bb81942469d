#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;
class Shell;
class UserDialogs;
struct Folders;
struct ProductConfig;

// A small wizard page: the wizard picture, a question and two choices, with help, cancel
// and "Weiter". Neither choice is checked at first; the choice stays between showings.
class TwoChoiceWizard : public QDialog {
    Q_OBJECT
public:
    enum class Choice { None, Upper, Lower };

    Choice choice() const;

public slots:
    void WeiterBitBtnClick();
    void HilfeBitBtnClick();

protected:
    struct Texts {
        QString caption;
        QString upperName;
        QString upperText;
        QString lowerName;
        QString lowerText;
        QSize clientSize;
    };
    TwoChoiceWizard(const ProductConfig& config, const Folders& folders, UserDialogs& dialogs,
                    Shell& shell, const Texts& texts, QWidget* parent);

private:
    UserDialogs& m_dialogs;
    Shell& m_shell;
    QString m_helpPage;
    QRadioButton* m_upper = nullptr;
    QRadioButton* m_lower = nullptr;
};
