#include "childrun.h"

#include <QByteArray>

#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

void writeAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

QByteArray readToEnd(int fd) {
    QByteArray out;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        out.append(buffer, n);
    return out;
}

} // namespace

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

TChildResult RunUnprivileged(const std::function<QString()>& body) {
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        ::close(fds[0]);
        if (RunningAsRoot() &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
             ::setresuid(kNobody, kNobody, kNobody) != 0))
            ::_exit(3);
        int code = 0;
        try {
            writeAll(fds[1], body().toUtf8());
        } catch (...) {
            code = 4;
        }
        ::close(fds[1]);
        ::_exit(code);
    }
    ::close(fds[1]);
    const QByteArray out = readToEnd(fds[0]);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, QString::fromUtf8(out)};
}

unsigned ChildUid() {
    return RunningAsRoot() ? kNobody : ::geteuid();
}

TLiveChild::TLiveChild(const std::function<QString()>& body, const QStringList& command) {
    std::vector<QByteArray> args;
    for (const QString& a : command)
        args.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // Close-on-exec: the report ends when the child dies or its program runs.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    FPid = ::fork();
    if (FPid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return;
    }
    if (FPid == 0) {
        ::close(fds[0]);
        writeAll(fds[1], body().toUtf8());
        if (!command.isEmpty()) {
            ::execv(argv[0], argv.data());
            ::_exit(5);
        }
        ::close(fds[1]);
        for (;;)
            ::pause();
    }
    ::close(fds[1]);
    FReport = QString::fromUtf8(readToEnd(fds[0]));
    ::close(fds[0]);
}

TLiveChild::~TLiveChild() {
    Kill();
}

void TLiveChild::Kill() {
    if (FPid <= 0)
        return;
    ::kill(FPid, SIGKILL);
    int status = 0;
    ::waitpid(FPid, &status, 0);
    FPid = -1;
}
