#pragma once

#include <QString>
#include <QStringList>

class UserDialogs;

namespace StartupChecks {

// The lock files the table store holds in the data folder while tables are open.
QStringList lockFileNames();

// Removes stale lock files; true when a running program still holds one, i.e. the
// databases are in use.
bool databasesInUse(const QString& dataDir);

QString inUseMessage();

// Checks Serienbrief.ini in the program folder and tells the user what is missing.
void checkSettingsFile(const QString& programDir, UserDialogs& dialogs);

} // namespace StartupChecks
