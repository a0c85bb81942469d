#include "DesktopShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

bool DesktopShell::open(const QString& pathOrUrl) {
    const QUrl url = pathOrUrl.startsWith(u'/') ? QUrl::fromLocalFile(pathOrUrl)
                                                : QUrl(pathOrUrl, QUrl::TolerantMode);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return false;
    return QDesktopServices::openUrl(url);
}

bool DesktopShell::start(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}
