#pragma once

#include "foundations/QuillonError.h"
#include "foundations/UserDialogs.h"

#include <QApplication>
#include <QCursor>
#include <exception>

// Shows the hourglass cursor for as long as it lives, also when a command ends in an error.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Runs a command of a window; an error it does not catch itself ends the command and is
// shown as an error box, and the program goes on. True when the command ran to its end.
template <typename Command> bool runGuarded(UserDialogs& dialogs, Command&& command) {
    try {
        command();
        return true;
    } catch (const QuillonError& error) {
        dialogs.error(error.message());
    } catch (const std::exception& error) {
        dialogs.error(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
