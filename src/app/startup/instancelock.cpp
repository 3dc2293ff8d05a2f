#include "app/startup/instancelock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

struct THeldLock {
    QString folder;
    int fd = -1;
};

THeldLock& held() {
    static THeldLock lock;
    return lock;
}

} // namespace

QString LockFileName() {
    return QStringLiteral("zeltora.lock");
}

TLockResult LockWorkFolder(const QString& folder) {
    THeldLock& current = held();
    if (current.fd >= 0 && current.folder == folder)
        return TLockResult::Acquired;
    // Close-on-exec: a program started from here (the updater) must not keep the lock.
    const QByteArray path = QFile::encodeName(folder + LockFileName());
    const int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return TLockResult::Unavailable;
    int rc = 0;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? TLockResult::HeldElsewhere : TLockResult::Unavailable;
    }
    UnlockWorkFolder();
    current = THeldLock{folder, fd};
    return TLockResult::Acquired;
}

void UnlockWorkFolder() {
    THeldLock& current = held();
    if (current.fd >= 0)
        ::close(current.fd);
    current = THeldLock{};
}
