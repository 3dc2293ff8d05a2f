#include "platform/processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// stat through /proc/<pid>/exe reaches the file the process runs, even one
// replaced on disk since; processes of other users cannot be looked at.
bool runs(const QString& pid, const struct stat& program) {
    const QByteArray link = QStringLiteral("/proc/%1/exe").arg(pid).toLatin1();
    struct stat running {};
    return ::stat(link.constData(), &running) == 0 && running.st_dev == program.st_dev &&
           running.st_ino == program.st_ino;
}

} // namespace

int EndProcess(const QString& programPath) {
    const QString path = QFileInfo(programPath).absoluteFilePath();
    struct stat program {};
    if (::stat(QFile::encodeName(path).constData(), &program) != 0)
        return 0;
    const pid_t self = ::getpid();
    int ended = 0;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool numeric = false;
        const pid_t pid = pid_t(entry.toInt(&numeric));
        if (!numeric || pid <= 0 || pid == self || !runs(entry, program))
            continue;
        if (::kill(pid, SIGKILL) == 0)
            ++ended;
    }
    return ended;
}

bool ExecuteExternalExe(const QString& ExePath, const QStringList& Parameters, QString& Output) {
    Output.clear();
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProgram(ExePath);
    process.setArguments(Parameters);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return false;
    process.waitForFinished(-1);
    Output = QString::fromLocal8Bit(process.readAll());
    return true;
}

bool StartDetached(const QString& program, const QStringList& arguments, const QString& folder) {
    if (!QFileInfo(program).isExecutable())
        return false;
    const QString dir = folder.isEmpty() ? QFileInfo(program).absolutePath() : folder;
    return QProcess::startDetached(program, arguments, dir);
}

} // namespace platform
