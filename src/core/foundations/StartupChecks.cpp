#include "StartupChecks.h"

#include "FileNames.h"
#include "StoreLock.h"
#include "TextHelpers.h"
#include "UserDialogs.h"

#include <QFileInfo>

namespace StartupChecks {

QStringList lockFileNames() {
    return {QStringLiteral("Pdoxusrs.net"), QStringLiteral("Paradox.lck"),
            QStringLiteral("Pdoxusrs.lck")};
}

bool databasesInUse(const QString& dataDir) {
    // On Linux a held file could still be deleted, so the lock is tested first and only a
    // file nobody holds is removed.
    bool inUse = false;
    for (const QString& name : lockFileNames()) {
        const QString path = FileNames::resolve(dataDir + name);
        if (!QFileInfo::exists(path))
            continue;
        if (StoreLock::isHeld(path))
            inUse = true;
        else
            FileNames::remove(path);
    }
    for (const QString& name : lockFileNames())
        if (FileNames::exists(dataDir + name))
            inUse = true;
    return inUse;
}

QString inUseMessage() {
    return QStringLiteral("Datenbank ist in Benutzung durch einen andern Benutzer!\n\n"
                          "Bitte warten Sie bis der andere Benutzer die Datenbank wieder "
                          "geschlossen hat!");
}

void checkSettingsFile(const QString& programDir, UserDialogs& dialogs) {
    const QString path = programDir + QStringLiteral("Serienbrief.ini");
    if (!FileNames::exists(path)) {
        dialogs.error(QStringLiteral("Inifile ") + path + QStringLiteral(" not found!"));
        return;
    }
    CheckIniEntry(FileNames::resolve(path), QStringLiteral("FIRSTSETTINGS"),
                  QStringLiteral("FirstSettingsDone"), dialogs);
}

} // namespace StartupChecks
