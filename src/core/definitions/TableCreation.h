#pragma once

#include <QString>

class UserDialogs;

// Builds <name>.DB in the data folder from the profile <name>.pro and leaves the creation
// log <name>.log beside it. Returns false after "Database not created!" when the store
// refuses the definitions; a missing profile, a size that is not a number or a repeated
// field or index name is a QuillonError, and then neither log nor table is written.
bool CreateTableFromProfile(const QString& dataDir, const QString& name, UserDialogs& dialogs);
