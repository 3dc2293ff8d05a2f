#include "childrun.h"

#include <QByteArray>

#include <grp.h>
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
    QByteArray out;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, QString::fromUtf8(out)};
}
