#include "app/application.h"
#include "app/formcreate.h"
#include "app/program.h"
#include "app/startup/instancelock.h"
#include "app/startup/quitrequest.h"
#include "app/startup/workfolder.h"
#include "common/appvalues.h"
#include "common/messages.h"
#include "common/ui/laymsg.h"
#include "floor/view/desktile.h"
#include "floor/view/form_main.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include "childrun.h"
#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include <functional>

#include <sys/stat.h>

namespace {

// Start-up in a folder of the test's own: the folders are real, only where
// they are, the launcher and the quit request are replaced.
class FormCreateTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        SetMessenger(&messages);
        appFolder = folder();
        TStartupSeams& seams = StartupSeams();
        seams.ApplicationFolder = [this] {
            return appFolder;
        };
        seams.FallbackFolders = [this] {
            return fallbacks;
        };
        seams.Launch = [this](const QString& program, const QString&) {
            launched << program;
            return true;
        };
    }
    void TearDown() override {
        window.reset();
        SetMessenger(nullptr);
        ResetStartupSeams();
    }

    void putProgram() {
        QFile f(folder() + QStringLiteral("zeltora"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    Tform_main& start() {
        window = std::make_unique<Tform_main>();
        FormCreate(*window);
        return *window;
    }

    int tileCount() const {
        if (!window->TileArea() || !window->TileArea()->widget())
            return 0;
        return int(window->TileArea()->widget()->findChildren<TDeskTile*>().size());
    }

    TRecordingMessenger messages;
    QString appFolder;
    QStringList fallbacks;
    QStringList launched;
    std::unique_ptr<Tform_main> window;
};

const QString kOffer =
    QStringLiteral("还没有桌位，是否添加数据体验？可一键删除,添加桌位后不再提示。");
// Folders nobody can create, root included.
const QString kNowhere = QStringLiteral("/proc/zeltora-nowhere/");

TEST_F(FormCreateTest, FreshFolderWithOfferAcceptedShowsTheDemoFloor) {
    putProgram();
    messages.Answers = {true};
    Tform_main& w = start();

    EXPECT_EQ(softpath, folder());
    EXPECT_EQ(sqlitename, folder() + QStringLiteral("zeltora.db"));
    EXPECT_EQ(inipath, folder() + QStringLiteral("config.ini"));
    EXPECT_EQ(messages.Texts(), QStringList({kOffer}));
    EXPECT_EQ(messages.Calls[0].kind, TMessageKind::OkCancel);
    EXPECT_EQ(messages.Calls[0].caption, QStringLiteral("友情提示"));
    EXPECT_EQ(testnums, 20);
    EXPECT_NE(w.CategoryScrollBox(), nullptr);
    EXPECT_EQ(tileCount(), 20);
    ASSERT_NE(w.MenuAction(QStringLiteral("MenuItem1")), nullptr);
    EXPECT_EQ(w.menuBar()->actions().last(), w.MenuAction(QStringLiteral("MenuItem1")));
    EXPECT_EQ(w.TimerResize->interval(), 100);
    EXPECT_FALSE(w.TimerResize->isActive());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(AppQuitRequested());
    EXPECT_TRUE(launched.isEmpty());
}

TEST_F(FormCreateTest, CancelledOfferStartsOnAnEmptyFloorAndAsksAgainNextTime) {
    putProgram();
    messages.Answers = {false};
    Tform_main& w = start();
    EXPECT_EQ(messages.Texts(), QStringList({kOffer}));
    EXPECT_EQ(testnums, 0);
    EXPECT_EQ(w.MenuAction(QStringLiteral("MenuItem1")), nullptr);
    auto* empty = qobject_cast<QLabel*>(w.TileArea()->widget());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->text(), QStringLiteral("该分类下没有桌位"));

    window.reset();
    messages.Calls.clear();
    start();
    EXPECT_EQ(messages.Texts(), QStringList({kOffer}));
}

TEST_F(FormCreateTest, ExistingTablesAreShownWithoutOfferOrDeleteEntry) {
    putProgram();
    ASSERT_TRUE(AutoCreateTable(dbPath()));
    {
        TSQLiteDatabase db(dbPath());
        db.ExecSQL(QStringLiteral("INSERT INTO zel_desk (title, bh, stat) VALUES ('A1', '1', 1)"));
    }
    Tform_main& w = start();
    EXPECT_TRUE(messages.Calls.isEmpty());
    EXPECT_EQ(testnums, 0);
    EXPECT_EQ(tileCount(), 1);
    EXPECT_EQ(w.MenuAction(QStringLiteral("MenuItem1")), nullptr);
}

TEST_F(FormCreateTest, MissingProgramFileStopsBeforeTheSchemaWithOneMessage) {
    Tform_main& w = start();
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("程序文件不存在：") + folder() +
                                             QStringLiteral("zeltora")}));
    EXPECT_FALSE(QFileInfo::exists(dbPath()));
    EXPECT_EQ(w.CategoryScrollBox(), nullptr);
    EXPECT_EQ(w.TileArea(), nullptr);
    EXPECT_EQ(w.menuBar()->actions().size(), 9);
    EXPECT_FALSE(AppQuitRequested());
}

TEST_F(FormCreateTest, NoWritableFolderAnywhereQuitsWithBothMessages) {
    appFolder = kNowhere;
    fallbacks = {QStringLiteral("/proc/zeltora-a/"), QStringLiteral("/proc/zeltora-b/")};
    Tform_main& w = start();
    EXPECT_EQ(messages.Texts(),
              QStringList({QStringLiteral("所有目录都无写入权限，请手动复制软件并设置访问权限"),
                           QStringLiteral("当前所有目录无写入权限")}));
    EXPECT_TRUE(AppQuitRequested());
    EXPECT_EQ(w.TileArea(), nullptr);
    EXPECT_TRUE(launched.isEmpty());
}

TEST_F(FormCreateTest, FailedCopyIsReportedOnceAndTheWindowStaysWithoutFloor) {
    appFolder = kNowhere;
    const QString target = folder() + QStringLiteral("fallback/");
    fallbacks = {QStringLiteral("/proc/zeltora-a/"), target};
    Tform_main& w = start();
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("当前目录无写入权限，系统将移动到") +
                                                 target + QStringLiteral("下运行"),
                                             QStringLiteral("程序文件复制失败，无法启动")}));
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_FALSE(AppQuitRequested());
    EXPECT_EQ(w.TileArea(), nullptr);
}

TEST_F(FormCreateTest, UnreadableDatabaseIsReportedOnceAndLeftAsItIs) {
    putProgram();
    int quits = 0;
    StartupSeams().RequestQuit = [&] {
        ++quits;
    };
    QStringList errors;
    TApplication::ErrorBox = [&](const QString& message) {
        errors << message;
    };
    const auto write = [this](const QByteArray& bytes) {
        QFile f(dbPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const auto damage = [&] {
        // Its own header, then garbage where the schema should be.
        ASSERT_TRUE(AutoCreateTable(dbPath()));
        QFile f(dbPath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(100));
        f.write(QByteArray(400, '\xff'));
    };
    const QString head = QStringLiteral("数据库文件无法读取：") + dbPath() + QLatin1Char('\n');
    const struct {
        const char* name;
        std::function<void()> make;
        QString says;
    } cases[] = {
        {"not a database", [&] { write("id;title\n1;A1\n"); },
         QStringLiteral("该文件不是数据库文件，请将其移走或换回原来的数据库文件后重新启动程序")},
        {"damaged", damage,
         QStringLiteral("该文件已损坏，请用备份的数据库文件替换它后重新启动程序")},
        {"a folder", [&] { QDir().mkpath(dbPath()); },
         QStringLiteral("该路径不是文件，请将其移走后重新启动程序")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(dbPath());
        QDir(dbPath()).removeRecursively();
        c.make();
        struct stat before {};
        ASSERT_EQ(::stat(QFile::encodeName(dbPath()).constData(), &before), 0);
        QFile file(dbPath());
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.close();
        messages.Calls.clear();
        quits = 0;

        const std::unique_ptr<Tform_main> w = CreateMainWindow();

        EXPECT_EQ(messages.Texts(), QStringList({head + c.says}));
        EXPECT_EQ(messages.Calls.value(0).kind, TMessageKind::Info);
        EXPECT_EQ(quits, 1);
        EXPECT_TRUE(errors.isEmpty());
        EXPECT_EQ(w->TileArea(), nullptr);
        EXPECT_EQ(w->MenuAction(QStringLiteral("MenuItem1")), nullptr);
        struct stat after {};
        ASSERT_EQ(::stat(QFile::encodeName(dbPath()).constData(), &after), 0);
        EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        EXPECT_EQ(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), bytes);
        file.close();
        EXPECT_FALSE(QFileInfo::exists(dbPath() + QStringLiteral("-journal")));
    }
    TApplication::ErrorBox = &ShowUncaughtError;
}

TEST_F(FormCreateTest, ASecondProgramOnTheSameFolderSaysSoAndEnds) {
    putProgram();
    int quits = 0;
    StartupSeams().RequestQuit = [&] {
        ++quits;
    };
    TLiveChild first([this] {
        UnlockWorkFolder();
        return LockWorkFolder(folder()) == TLockResult::Acquired ? QStringLiteral("running")
                                                                 : QString();
    });
    ASSERT_EQ(first.Report(), QStringLiteral("running"));

    Tform_main& w = start();
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("程序已在运行")}));
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(QFileInfo::exists(dbPath()));
    EXPECT_EQ(w.TileArea(), nullptr);

    // The first one crashes: its lock goes with it.
    first.Kill();
    messages.Calls.clear();
    messages.Answers = {false};
    start();
    EXPECT_EQ(messages.Texts(), QStringList({kOffer}));
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(QFileInfo::exists(dbPath()));
}

} // namespace
