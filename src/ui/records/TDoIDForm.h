#pragma once

#include "records/IdRange.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class UserDialogs;

// Asks for a start and an end ID. Created once, so the range and the texts typed last stay
// for the next use.
class TDoIDForm : public QDialog {
    Q_OBJECT
public:
    explicit TDoIDForm(UserDialogs& dialogs, QWidget* parent = nullptr);

    void setDoText(const QString& text);
    const IdRange& range() const { return m_range; }

private:
    void BitBtn1Click();

    UserDialogs& m_dialogs;
    IdRange m_range;
    QLabel* m_doLabel;
    QLineEdit* m_start;
    QLineEdit* m_end;
};
