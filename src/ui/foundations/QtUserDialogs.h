#pragma once

#include "foundations/UserDialogs.h"

class QWidget;

// Message boxes and file dialogs of the desktop.
class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    Answer message(Kind kind, const QString& text, Buttons buttons) override;
    QString openFileName(const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString folderName(const QString& caption, const QString& folder) override;

private:
    QWidget* m_parent;
};
