#include "app/application.h"
#include "app/formcreate.h"
#include "app/program.h"
#include "app/quitrequest.h"
#include "app/workfolder.h"
#include "common/appvalues.h"
#include "common/messages.h"
#include "common/ui/laymsg.h"
#include "floor/desktile.h"
#include "floor/form_main.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

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
    EXPECT_EQ(w.menuBar()->actions().size(), 8);
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

TEST_F(FormCreateTest, UnusableDatabaseIsReportedAndTheWindowStillComes) {
    putProgram();
    // A folder where the database file should be: nothing can open it.
    ASSERT_TRUE(QDir().mkpath(dbPath()));
    QStringList errors;
    TApplication::ErrorBox = [&](const QString& message) {
        errors << message;
    };

    const std::unique_ptr<Tform_main> w = CreateMainWindow();
    TApplication::ErrorBox = &ShowUncaughtError;

    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(messages.Calls.isEmpty()); // the offer could not even count
    ASSERT_NE(mypan(), nullptr);
    EXPECT_TRUE(mypan()->text().startsWith(QStringLiteral("加载失败: ")));
    EXPECT_EQ(testnums, 0);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(w->menuBar()->actions().size(), 8);
}

} // namespace
