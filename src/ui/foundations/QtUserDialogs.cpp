#include "QtUserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

UserDialogs::Answer QtUserDialogs::message(Kind kind, const QString& text, Buttons buttons) {
    QMessageBox box(m_parent ? m_parent : QApplication::activeWindow());
    switch (kind) {
    case Kind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Kind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Kind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Kind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    case Kind::Notice:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(text);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

QString QtUserDialogs::openFileName(const QString& caption, const QString& folder,
                                    const QString& filter) {
    return QFileDialog::getOpenFileName(m_parent, caption, folder, filter);
}

QString QtUserDialogs::saveFileName(const QString& caption, const QString& folder,
                                    const QString& filter) {
    return QFileDialog::getSaveFileName(m_parent, caption, folder, filter);
}

QString QtUserDialogs::folderName(const QString& caption, const QString& folder) {
    return QFileDialog::getExistingDirectory(m_parent, caption, folder);
}
