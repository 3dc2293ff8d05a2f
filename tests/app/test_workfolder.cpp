#include "app/startup/workfolder.h"
#include "common/appvalues.h"
#include "common/messages.h"

#include "childrun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Every box, question, launch and quit of a start-up, in the order they came.
class TLogMessenger : public TMessenger {
public:
    explicit TLogMessenger(QStringList& log) : FLog(log) {}
    void Info(const QString& caption, const QString& text) override {
        FLog << QStringLiteral("box[%1] %2").arg(caption, text);
    }
    bool OkCancel(const QString&, const QString& text) override {
        FLog << QStringLiteral("ask ") + text;
        return false;
    }
    bool YesNo(const QString&, const QString& text) override {
        FLog << QStringLiteral("ask ") + text;
        return false;
    }

private:
    QStringList& FLog;
};

const char* outcomeName(TPermissionOutcome o) {
    switch (o) {
    case TPermissionOutcome::Continue:
        return "Continue";
    case TPermissionOutcome::ExecutableMissing:
        return "ExecutableMissing";
    case TPermissionOutcome::NoWritableFolder:
        return "NoWritableFolder";
    case TPermissionOutcome::Relocated:
        return "Relocated";
    case TPermissionOutcome::CopyFailed:
        return "CopyFailed";
    case TPermissionOutcome::LaunchFailed:
        return "LaunchFailed";
    }
    return "?";
}

// Who may write a test folder: nobody (0555), anyone (0777), or only the
// child of RunUnprivileged, which owns it (0700).
enum class TAccess { Locked, Open, Child };

// Folders under a fresh temporary folder that the unprivileged child can
// enter; read-only ones it cannot write, whoever runs the tests.
class WorkFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_base.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(m_base.path()).constData(), 0755), 0);
    }
    void TearDown() override {
        for (const QString& f : m_made)
            ::chmod(QFile::encodeName(f).constData(), 0755);
    }

    QString path(const QString& name) const { return m_base.path() + QLatin1Char('/') + name; }

    // Creates the folder with the given files, then gives it its owner and mode.
    QString makeFolder(const QString& name, TAccess access, const QStringList& files = {}) {
        const QString folder = path(name) + QLatin1Char('/');
        EXPECT_TRUE(QDir().mkpath(folder));
        for (const QString& file : files)
            writeFile(folder + file, "content of " + file.toUtf8());
        const QByteArray native = QFile::encodeName(folder);
        if (access == TAccess::Child) {
            EXPECT_EQ(::chown(native.constData(), ChildUid(), gid_t(-1)), 0);
        }
        const mode_t mode = access == TAccess::Locked ? 0555
                            : access == TAccess::Open ? 0777
                                                      : 0700;
        EXPECT_EQ(::chmod(native.constData(), mode), 0);
        m_made << folder;
        return folder;
    }

    static QStringList entries(const QString& folder) {
        return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System);
    }

    static void writeFile(const QString& file, const QByteArray& content) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                         QFileDevice::ExeOther);
    }

    // Runs CheckPermission in an unprivileged child and returns its log.
    static QStringList checkAsUnprivileged(const QString& app, const QStringList& fallbacks,
                                           bool launchWorks = true) {
        const TChildResult r = RunUnprivileged([&] {
            QStringList log;
            TLogMessenger messenger(log);
            SetMessenger(&messenger);
            softpath = app;
            TStartupSeams& seams = StartupSeams();
            seams.FallbackFolders = [&] {
                return fallbacks;
            };
            seams.Launch = [&](const QString& program, const QString& folder) {
                log << QStringLiteral("launch %1 in %2").arg(program, folder);
                return launchWorks;
            };
            seams.RequestQuit = [&] {
                log << QStringLiteral("quit");
            };
            TPermissionOutcome outcome = TPermissionOutcome::Continue;
            const bool result = CheckPermission(&outcome);
            log << QStringLiteral("%1 %2").arg(result ? "true" : "false",
                                               QLatin1String(outcomeName(outcome)));
            return log.join(QLatin1Char('\n'));
        });
        EXPECT_TRUE(r.ok) << "the child did not finish";
        return r.output.split(QLatin1Char('\n'));
    }

    QTemporaryDir m_base;
    QStringList m_made;
};

TEST_F(WorkFolderTest, DirWritableProbesForRealAndCleansUp) {
    const QString plain = makeFolder(QStringLiteral("plain"), TAccess::Open);
    EXPECT_TRUE(DirWritable(plain));
    EXPECT_TRUE(DirWritable(path(QStringLiteral("plain")))); // separator added
    EXPECT_TRUE(QDir(plain).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

    // A missing folder is created with its parents, and stays.
    const QString deep = path(QStringLiteral("a/b/c/"));
    EXPECT_TRUE(DirWritable(deep));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_FALSE(QFileInfo::exists(deep + QStringLiteral("t1e2s3t4.txt")));

    writeFile(path(QStringLiteral("file")), "x");
    EXPECT_FALSE(DirWritable(path(QStringLiteral("file"))));
    EXPECT_FALSE(DirWritable(QString()));
    EXPECT_FALSE(DirWritable(QStringLiteral("/proc/zeltora-no-such-folder/")));
}

TEST_F(WorkFolderTest, DirWritableRefusesWhatTheUserCannotWrite) {
    const QString locked = makeFolder(QStringLiteral("locked"), TAccess::Locked);
    const QString open = makeFolder(QStringLiteral("open"), TAccess::Open);
    const TChildResult r = RunUnprivileged([&] {
        return QStringList({DirWritable(locked) ? "1" : "0",
                            DirWritable(locked + QStringLiteral("sub/")) ? "1" : "0",
                            DirWritable(open) ? "1" : "0",
                            DirWritable(open + QStringLiteral("new/deeper/")) ? "1" : "0"})
            .join(QLatin1Char(' '));
    });
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.output, QStringLiteral("0 0 1 1"));
    EXPECT_FALSE(QFileInfo::exists(locked + QStringLiteral("sub")));
    EXPECT_TRUE(QFileInfo(open + QStringLiteral("new/deeper")).isDir());
}

TEST_F(WorkFolderTest, CheckPermissionSequences) {
    const QStringList program = {QStringLiteral("zeltora"), QStringLiteral("软件使用说明书.txt")};
    // The program's own folder is used whoever else may write it.
    const QString appOk = makeFolder(QStringLiteral("app-ok"), TAccess::Open, program);
    const QString appNoExe = makeFolder(QStringLiteral("app-noexe"), TAccess::Open);
    const QString appLocked = makeFolder(QStringLiteral("app-locked"), TAccess::Locked, program);
    const QString appLockedNoExe = makeFolder(QStringLiteral("app-locked-noexe"), TAccess::Locked);
    const QString locked1 = makeFolder(QStringLiteral("fb-locked1"), TAccess::Locked);
    const QString locked2 = makeFolder(QStringLiteral("fb-locked2"), TAccess::Locked);
    const QString parent = makeFolder(QStringLiteral("fb-parent"), TAccess::Open);
    const QString fresh = parent + QStringLiteral("dorvantek/");
    // A folder per relocating case, so no case finds the copy of another.
    const QString second = makeFolder(QStringLiteral("fb-second"), TAccess::Child);
    const QString empty = makeFolder(QStringLiteral("fb-empty"), TAccess::Child);
    const QString noStart = makeFolder(QStringLiteral("fb-nostart"), TAccess::Child);
    const QString mine = makeFolder(QStringLiteral("fb-mine"), TAccess::Child);
    const QString stale = makeFolder(QStringLiteral("fb-stale"), TAccess::Child);
    // An old copy that cannot be replaced: a folder where the program should be.
    ASSERT_TRUE(QDir().mkpath(stale + QStringLiteral("zeltora/old")));
    // Folders others control: anyone may write it; the group may; a link to the child's own.
    const QString open = makeFolder(QStringLiteral("fb-open"), TAccess::Open);
    const QString shared = makeFolder(QStringLiteral("fb-shared"), TAccess::Child);
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0770), 0);
    const QString linked = makeFolder(QStringLiteral("fb-linked"), TAccess::Child);
    const QString link = path(QStringLiteral("fb-link/"));
    ASSERT_TRUE(QFile::link(linked, path(QStringLiteral("fb-link"))));
    const QString box = QStringLiteral("box[友情提示] ");

    const struct {
        const char* name;
        QString app;
        QStringList fallbacks;
        bool launchWorks;
        QStringList expected;
    } cases[] = {
        {"own folder writable", appOk, {locked1}, true, {"true Continue"}},
        {"program file missing",
         appNoExe,
         {locked1},
         true,
         {box + "程序文件不存在：" + appNoExe + "zeltora", "false ExecutableMissing"}},
        {"preferred fallback, created on the way, no announcement",
         appLocked,
         {fresh, second},
         true,
         {"launch " + fresh + "zeltora in " + fresh, "quit", "false Relocated"}},
        {"second fallback is announced",
         appLocked,
         {locked1, second},
         true,
         {box + "当前目录无写入权限，系统将移动到" + second + "下运行",
          "launch " + second + "zeltora in " + second, "quit", "false Relocated"}},
        {"nothing writable",
         appLocked,
         {locked1, locked2},
         true,
         {box + "所有目录都无写入权限，请手动复制软件并设置访问权限", "quit",
          "false NoWritableFolder"}},
        {"program file not copied",
         appLockedNoExe,
         {locked1, empty},
         true,
         {box + "当前目录无写入权限，系统将移动到" + empty + "下运行",
          box + "程序文件复制失败，无法启动", "false CopyFailed"}},
        {"folders others control are passed over",
         appLocked,
         {open, shared, link, mine},
         true,
         {box + "当前目录无写入权限，系统将移动到" + mine + "下运行",
          "launch " + mine + "zeltora in " + mine, "quit", "false Relocated"}},
        {"an old copy that stays is not started",
         appLocked,
         {stale},
         true,
         {box + "程序文件复制失败，无法启动", "false CopyFailed"}},
        {"copy cannot be started",
         appLocked,
         {noStart},
         false,
         {"launch " + noStart + "zeltora in " + noStart,
          box + "程序启动失败：" + noStart + "zeltora", "false LaunchFailed"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(checkAsUnprivileged(c.app, c.fallbacks, c.launchWorks), c.expected);
    }
    // Not even the probe went into the folders others control.
    EXPECT_EQ(entries(open), QStringList());
    EXPECT_EQ(entries(shared), QStringList());
    EXPECT_EQ(entries(linked), QStringList());
    // The folder start-up made is the child's alone.
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_uid, ChildUid());
    EXPECT_EQ(st.st_mode & 07777, 0700u);
}

TEST_F(WorkFolderTest, AFolderOfAnotherUserIsPassedOverEvenWhenItCanBeWritten) {
    if (!RunningAsRoot())
        GTEST_SKIP() << "only root can write into another user's folder";
    // Root writes through the permission bits, so only the owner tells.
    const QString theirs = makeFolder(QStringLiteral("theirs"), TAccess::Child);
    ASSERT_EQ(::chmod(QFile::encodeName(theirs).constData(), 0755), 0);
    const QString own = path(QStringLiteral("own/"));
    ASSERT_TRUE(QDir().mkpath(own));
    ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0755), 0);

    EXPECT_TRUE(DirWritable(theirs));
    EXPECT_FALSE(UsableFallbackFolder(theirs));
    EXPECT_TRUE(UsableFallbackFolder(own));
    EXPECT_TRUE(UsableFallbackFolder(own + QStringLiteral("made/")));
    EXPECT_EQ(entries(theirs), QStringList());
}

TEST_F(WorkFolderTest, TheProbeNeverWritesThroughALink) {
    const QString folder = makeFolder(QStringLiteral("probe"), TAccess::Open);
    const QString elsewhere = makeFolder(QStringLiteral("elsewhere"), TAccess::Open);
    const QString probe = folder + QStringLiteral("t1e2s3t4.txt");
    const QString target = elsewhere + QStringLiteral("passwords");
    writeFile(target, "keep me");
    const QString missing = elsewhere + QStringLiteral("planted");

    for (const QString& linkTo : {target, missing}) {
        SCOPED_TRACE(linkTo.toStdString());
        QFile::remove(probe);
        ASSERT_TRUE(QFile::link(linkTo, probe));
        EXPECT_FALSE(DirWritable(folder));
        EXPECT_EQ(QFileInfo(probe).symLinkTarget(), linkTo);
    }
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    EXPECT_FALSE(QFileInfo::exists(missing));

    // A probe file left by an interrupted run is no reason to fail.
    QFile::remove(probe);
    writeFile(probe, "1and1-aMail\n");
    EXPECT_TRUE(DirWritable(folder));
    EXPECT_EQ(entries(folder), QStringList());
}

TEST_F(WorkFolderTest, RelocationCopiesTheProgramFilesOnly) {
    const QString app = makeFolder(QStringLiteral("app"), TAccess::Locked,
                                   {QStringLiteral("zeltora"), QStringLiteral("软件使用说明书.txt"),
                                    QStringLiteral("zeltora.db"), QStringLiteral("config.ini")});
    const QString target = makeFolder(QStringLiteral("target"), TAccess::Child);
    writeFile(target + QStringLiteral("zeltora"), "an older copy");
    ::chmod(QFile::encodeName(target + QStringLiteral("zeltora")).constData(), 0666);

    const QStringList log = checkAsUnprivileged(app, {target});
    EXPECT_EQ(log.last(), QStringLiteral("false Relocated"));

    QFile exe(target + QStringLiteral("zeltora"));
    ASSERT_TRUE(exe.open(QIODevice::ReadOnly));
    EXPECT_EQ(exe.readAll(), QByteArray("content of zeltora"));
    EXPECT_TRUE(exe.permissions() & QFileDevice::ExeOwner);
    EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral("软件使用说明书.txt")));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("zeltora.db")));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("config.ini")));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("update")));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("t1e2s3t4.txt")));
}

TEST(FallbackFoldersTest, HomeFirstThenVarTmpThenVolumes) {
    const QStringList folders = DefaultFallbackFolders();
    ASSERT_GE(folders.size(), 2);
    EXPECT_EQ(folders[0], QDir::homePath() + QStringLiteral("/dorvantek/"));
    EXPECT_EQ(folders[1], QStringLiteral("/var/tmp/dorvantek/"));
    for (const QString& f : folders)
        EXPECT_TRUE(f.endsWith(QStringLiteral("/dorvantek/"))) << f.toStdString();
    EXPECT_EQ(CopyList().first(), QStringLiteral("zeltora"));
}

} // namespace
