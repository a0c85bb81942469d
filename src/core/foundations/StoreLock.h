#pragma once

#include <QString>

// The advisory lock the table store holds on a lock file in a data folder while any of
// its tables is open there. Counted per folder within the process; the file is removed
// when the last table closes.
class StoreLock {
public:
    static void acquire(const QString& folder);
    static void release(const QString& folder);
    // True when some process holds the lock file at the path (tried without waiting).
    static bool isHeld(const QString& lockFilePath);
    static QString lockFileName();
};
