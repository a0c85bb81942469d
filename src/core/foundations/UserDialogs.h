#pragma once

#include <QString>

// Every message box and file or folder dialog goes through this interface, so the
// windows, the command-line tool and the tests each supply their own.
class UserDialogs {
public:
    enum class Kind { Information, Warning, Error, Confirmation, Notice };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~UserDialogs() = default;

    virtual Answer message(Kind kind, const QString& text, Buttons buttons = Buttons::Ok) = 0;
    // An empty result means the user cancelled.
    virtual QString openFileName(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString folderName(const QString& caption, const QString& folder) = 0;

    void information(const QString& text) { message(Kind::Information, text); }
    void error(const QString& text) { message(Kind::Error, text); }
    void notice(const QString& text) { message(Kind::Notice, text); }
    bool confirm(const QString& text) {
        return message(Kind::Confirmation, text, Buttons::YesNo) == Answer::Yes;
    }
};
