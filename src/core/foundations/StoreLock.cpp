#include "StoreLock.h"

#include "QuillonError.h"
#include "StartupChecks.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

struct Held {
    int fd = -1;
    int count = 0;
    QString path;
};

QHash<QString, Held>& heldLocks() {
    static QHash<QString, Held> locks;
    return locks;
}

QString key(const QString& folder) {
    return QDir(folder).absolutePath();
}

} // namespace

QString StoreLock::lockFileName() {
    return QStringLiteral("Pdoxusrs.lck");
}

void StoreLock::acquire(const QString& folder) {
    Held& held = heldLocks()[key(folder)];
    if (held.count++ > 0)
        return;
    held.path = key(folder) + u'/' + lockFileName();
    const QByteArray native = QFile::encodeName(held.path);
    held.fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // A folder we cannot write (a read-only installation) simply goes without a lock file.
    if (held.fd >= 0 && ::flock(held.fd, LOCK_SH | LOCK_NB) != 0) {
        ::close(held.fd);
        held.fd = -1;
        held.count = 0;
        heldLocks().remove(key(folder));
        throw QuillonError(StartupChecks::inUseMessage());
    }
}

void StoreLock::release(const QString& folder) {
    auto it = heldLocks().find(key(folder));
    if (it == heldLocks().end() || --it->count > 0)
        return;
    if (it->fd >= 0) {
        // Remove only when nobody else shares the lock, so a second reader keeps it alive.
        if (::flock(it->fd, LOCK_EX | LOCK_NB) == 0)
            QFile::remove(it->path);
        ::close(it->fd);
    }
    heldLocks().erase(it);
}

bool StoreLock::isHeld(const QString& lockFilePath) {
    const QByteArray native = QFile::encodeName(lockFilePath);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}
