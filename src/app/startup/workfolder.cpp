#include "app/startup/workfolder.h"

#include "app/startup/quitrequest.h"
#include "common/appvalues.h"
#include "common/messages.h"
#include "platform/platform.h"
#include "platform/safefs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>

#include <algorithm>

namespace {

QString withSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

TStartupSeams realSeams() {
    return TStartupSeams{
        &platform::ExecutableFolder,
        &DefaultFallbackFolders,
        [](const QString& program, const QString& folder) {
            return QProcess::startDetached(program, QStringList(), folder);
        },
        &RequestAppQuit,
    };
}

void tell(const QString& text) {
    Messages().Info(MessageCaption(), text);
}

} // namespace

QString ExecutableName() {
    return QStringLiteral("zeltora");
}

QStringList CopyList() {
    // Shared libraries come from the system, so only these travel.
    return {ExecutableName(), QStringLiteral("update"), QStringLiteral("软件使用说明书.txt")};
}

TStartupSeams& StartupSeams() {
    static TStartupSeams seams = realSeams();
    return seams;
}

void ResetStartupSeams() {
    StartupSeams() = realSeams();
}

QStringList DefaultFallbackFolders() {
    QStringList folders{withSeparator(QDir::homePath()) + QStringLiteral("dorvantek/"),
                        QStringLiteral("/var/tmp/dorvantek/")};
    QStringList volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = withSeparator(volume.rootPath());
        if (!volume.isValid() || !volume.isReady() || volume.isReadOnly())
            continue;
        if (root.startsWith(QLatin1String("/media/")) ||
            root.startsWith(QLatin1String("/run/media/")) ||
            root.startsWith(QLatin1String("/mnt/")))
            volumes << root + QStringLiteral("dorvantek/");
    }
    std::sort(volumes.begin(), volumes.end());
    return folders + volumes;
}

bool DirWritable(const QString& folder) {
    if (folder.isEmpty())
        return false;
    try {
        const QString dir = withSeparator(folder);
        const QString probe = dir + QStringLiteral("t1e2s3t4.txt");
        if (!platform::MakePrivateFolderChain(dir))
            return false;
        // A probe left by an interrupted run goes; a link stays, and the probe fails on it.
        if (platform::IsPlainFile(probe))
            QFile::remove(probe);
        if (!platform::CreateNewFile(probe, QByteArrayLiteral("1and1-aMail\n")))
            return false;
        if (!platform::IsPlainFile(probe))
            return false;
        QFile::remove(probe);
        return true;
    } catch (...) {
        return false;
    }
}

bool UsableFallbackFolder(const QString& folder) {
    // Someone else's folder is not even probed: the probe would write into it.
    if (platform::PathTaken(folder) && !platform::IsPrivateFolder(folder))
        return false;
    // Checked again: the folder may have appeared between the look and the probe.
    return DirWritable(folder) && platform::IsPrivateFolder(folder);
}

void AutoCopy(const QString& target) {
    const QString folder = withSeparator(target);
    for (const QString& name : CopyList()) {
        const QString source = softpath + name;
        if (!QFileInfo::exists(source))
            continue;
        const QString destination = folder + name;
        QDir().mkpath(QFileInfo(destination).absolutePath());
        QFile::remove(destination);
        QFile::copy(source, destination);
    }
}

bool CheckPermission(TPermissionOutcome* outcome) {
    const auto finish = [outcome](TPermissionOutcome result) {
        if (outcome)
            *outcome = result;
        return result == TPermissionOutcome::Continue;
    };
    const TStartupSeams& seams = StartupSeams();

    if (DirWritable(softpath)) {
        if (QFileInfo::exists(softpath + ExecutableName()))
            return finish(TPermissionOutcome::Continue);
        tell(QStringLiteral("程序文件不存在：") + softpath + ExecutableName());
        return finish(TPermissionOutcome::ExecutableMissing);
    }

    QStringList candidates = seams.FallbackFolders();
    for (QString& candidate : candidates)
        candidate = withSeparator(candidate);
    const auto found = std::find_if(candidates.cbegin(), candidates.cend(), &UsableFallbackFolder);
    if (found == candidates.cend()) {
        tell(QStringLiteral("所有目录都无写入权限，请手动复制软件并设置访问权限"));
        seams.RequestQuit();
        return finish(TPermissionOutcome::NoWritableFolder);
    }
    const QString folder = *found;
    if (folder != candidates.first())
        tell(QStringLiteral("当前目录无写入权限，系统将移动到%1下运行").arg(folder));
    AutoCopy(folder);

    const QString program = folder + ExecutableName();
    // An old copy that could not be replaced must not be started in its place.
    if (!platform::SameFileContent(softpath + ExecutableName(), program)) {
        tell(QStringLiteral("程序文件复制失败，无法启动"));
        return finish(TPermissionOutcome::CopyFailed);
    }
    if (!seams.Launch(program, folder)) {
        // Quitting now would leave the operator with no program at all.
        tell(QStringLiteral("程序启动失败：") + program);
        return finish(TPermissionOutcome::LaunchFailed);
    }
    seams.RequestQuit();
    return finish(TPermissionOutcome::Relocated);
}
