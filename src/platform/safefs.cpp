#include "platform/safefs.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Without the trailing separator, so lstat looks at a link instead of its target.
QByteArray nativePath(const QString& path) {
    return QFile::encodeName(QDir::cleanPath(QDir(path).absolutePath()));
}

bool isFolder(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

class TFd {
public:
    explicit TFd(int fd) : FFd(fd) {}
    ~TFd() {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int get() const { return FFd; }
    // Closes now, so a failed close of a written file is seen.
    bool close() {
        const int fd = FFd;
        FFd = -1;
        return ::close(fd) == 0;
    }

private:
    int FFd;
};

// Reads up to size bytes, fewer only at the end of the file; -1 on error.
ssize_t readFull(int fd, char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += size_t(n);
    }
    return ssize_t(done);
}

} // namespace

bool MakePrivateFolderChain(const QString& folder) {
    const QByteArray path = nativePath(folder);
    if (isFolder(path))
        return true;
    for (qsizetype slash = path.indexOf('/', 1); slash != -1; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0700);
    ::mkdir(path.constData(), 0700);
    return isFolder(path);
}

bool IsPrivateFolder(const QString& folder) {
    struct stat st {};
    if (::lstat(nativePath(folder).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool PathTaken(const QString& path) {
    struct stat st {};
    return ::lstat(nativePath(path).constData(), &st) == 0;
}

bool IsPlainFile(const QString& path) {
    struct stat st {};
    return ::lstat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool CreateNewFile(const QString& path, const QByteArray& content) {
    TFd fd(::open(nativePath(path).constData(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.get() < 0)
        return false;
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t n =
            ::write(fd.get(), content.constData() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return fd.close();
}

bool SameFileContent(const QString& a, const QString& b) {
    TFd fa(::open(nativePath(a).constData(), O_RDONLY | O_CLOEXEC));
    TFd fb(::open(nativePath(b).constData(), O_RDONLY | O_CLOEXEC));
    if (fa.get() < 0 || fb.get() < 0)
        return false;
    constexpr size_t kChunk = 64 * 1024;
    QByteArray ba(kChunk, Qt::Uninitialized);
    QByteArray bb(kChunk, Qt::Uninitialized);
    for (;;) {
        const ssize_t na = readFull(fa.get(), ba.data(), kChunk);
        const ssize_t nb = readFull(fb.get(), bb.data(), kChunk);
        if (na < 0 || nb < 0 || na != nb)
            return false;
        if (na == 0)
            return true;
        if (std::memcmp(ba.constData(), bb.constData(), size_t(na)) != 0)
            return false;
    }
}

} // namespace platform
