#pragma once

#include <QString>
#include <QStringList>

// Every start of something outside the program (help page, mailto: address, web page,
// word processor) goes through this interface. Both calls return at once and report
// only whether the start succeeded.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a local file path or a URL ("mailto:…", "https://…") with the desktop's default.
    virtual bool open(const QString& pathOrUrl) = 0;
    // Starts a program with arguments, detached.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
};
