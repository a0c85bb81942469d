#pragma once

#include "foundations/Shell.h"

// Opens files and addresses with the desktop's default application.
class DesktopShell : public Shell {
public:
    bool open(const QString& pathOrUrl) override;
    bool start(const QString& program, const QStringList& arguments) override;
};
