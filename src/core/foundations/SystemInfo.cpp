#include "SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QSysInfo>

namespace {

QString location(QStandardPaths::StandardLocation which) {
    return QStandardPaths::writableLocation(which);
}

// QStandardPaths knows no templates folder, so that one is read from user-dirs.dirs.
QString xdgUserDir(const QString& key) {
    const QString config = location(QStandardPaths::GenericConfigLocation);
    QFile file(config + QStringLiteral("/user-dirs.dirs"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& line : lines) {
        if (!line.startsWith(key + u'='))
            continue;
        QString value = line.mid(key.size() + 1).trimmed();
        if (value.startsWith(u'"') && value.endsWith(u'"') && value.size() >= 2)
            value = value.mid(1, value.size() - 2);
        value.replace(QStringLiteral("$HOME"), QDir::homePath());
        return value;
    }
    return {};
}

} // namespace

SystemInfo SystemInfo::read() {
    SystemInfo info;
    info.m_operatingSystem = QSysInfo::prettyProductName();
    info.m_shellFolders = {
        {QStringLiteral("Desktop"), location(QStandardPaths::DesktopLocation)},
        {QStringLiteral("Personal"), location(QStandardPaths::DocumentsLocation)},
        {QStringLiteral("Fonts"), location(QStandardPaths::FontsLocation)},
        {QStringLiteral("Programs"), location(QStandardPaths::ApplicationsLocation)},
        {QStringLiteral("Templates"), xdgUserDir(QStringLiteral("XDG_TEMPLATES_DIR"))},
        {QStringLiteral("Cache"), location(QStandardPaths::GenericCacheLocation)},
        {QStringLiteral("Favorites"), QString()},
        {QStringLiteral("NetHood"), QString()},
        {QStringLiteral("Recent"), QString()},
        {QStringLiteral("SendTo"), QString()},
        {QStringLiteral("Start Menu"), location(QStandardPaths::ApplicationsLocation)},
        {QStringLiteral("Startup"), QDir::homePath() + QStringLiteral("/.config/autostart")},
    };
    info.m_logonUserName = qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME"));
    info.m_addressBookFile =
        location(QStandardPaths::DocumentsLocation) + QStringLiteral("/Adressbuch.vcf");
    info.m_tempDir = QDir::tempPath().left(260);
    return info;
}
