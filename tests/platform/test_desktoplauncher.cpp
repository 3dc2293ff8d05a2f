#include "platform/desktoplauncher.h"

#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll())
                                          : QStringLiteral("<missing>");
}

struct TEntryCase {
    const char* exe;
    const char* exec;
    const char* path;
};

TEST(DesktopLauncherTest, ExecAndPathAreQuotedForTheDesktop) {
    const TEntryCase cases[] = {
        {"/opt/zeltora/zeltora", R"(Exec="/opt/zeltora/zeltora")", "Path=/opt/zeltora"},
        {"/home/li/我的 程序/zeltora", R"(Exec="/home/li/我的 程序/zeltora")",
         "Path=/home/li/我的 程序"},
        // Inside quotes " ` $ \ take a backslash, which the string rule then doubles;
        // % is doubled so it is no field code.
        {R"(/tmp/a"b$c`d\e 100%/zeltora)", R"(Exec="/tmp/a\\"b\\$c\\`d\\\\e 100%%/zeltora")",
         R"(Path=/tmp/a"b$c`d\\e 100%)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exe);
        const QStringList lines =
            platform::DesktopEntryText(QString::fromUtf8(c.exe)).split(QLatin1Char('\n'));
        EXPECT_EQ(lines.value(0), QStringLiteral("[Desktop Entry]"));
        EXPECT_TRUE(lines.contains(QStringLiteral("Type=Application")));
        EXPECT_TRUE(lines.contains(QStringLiteral("Name=Quorvel餐饮管理软件")));
        EXPECT_TRUE(lines.contains(QString::fromUtf8(c.exec))) << lines.join('\n').toStdString();
        EXPECT_TRUE(lines.contains(QString::fromUtf8(c.path))) << lines.join('\n').toStdString();
    }
}

class DesktopFolderTest : public TempFolderTest {};

TEST_F(DesktopFolderTest, LauncherIsWrittenExecutableAndReplacesAnOldOne) {
    const QString desktop = path(QStringLiteral("桌面 文件夹"));
    const QString launcher = desktop + QStringLiteral("/Quorvel餐饮管理软件.desktop");
    QString error;
    ASSERT_TRUE(platform::CreateDesktopLauncher(QStringLiteral("/opt/a b/zeltora"), desktop, error))
        << error.toStdString();
    EXPECT_EQ(readText(launcher), platform::DesktopEntryText(QStringLiteral("/opt/a b/zeltora")));
    EXPECT_TRUE(QFileInfo(launcher).isExecutable());

    ASSERT_TRUE(platform::CreateDesktopLauncher(QStringLiteral("/srv/zeltora"), desktop, error));
    EXPECT_EQ(readText(launcher), platform::DesktopEntryText(QStringLiteral("/srv/zeltora")));
    EXPECT_EQ(QDir(desktop).entryList(QDir::Files).size(), 1);
}

TEST_F(DesktopFolderTest, DesktopFolderFollowsTheUsersDirectories) {
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", folder().toUtf8());
    qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toUtf8());
    QDir().mkpath(path(QStringLiteral("config")));
    QFile dirs(path(QStringLiteral("config/user-dirs.dirs")));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DESKTOP_DIR=\"$HOME/桌面\"\n");
    dirs.close();
    const QString found = platform::DesktopFolder();
    qputenv("HOME", home);
    if (config.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", config);
    EXPECT_EQ(QDir::cleanPath(found), QDir::cleanPath(path(QStringLiteral("桌面"))));
}

TEST_F(DesktopFolderTest, AFolderThatCannotBeMadeIsReported) {
    QFile blocker(path(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_FALSE(platform::CreateDesktopLauncher(QStringLiteral("/srv/zeltora"),
                                                 path(QStringLiteral("file/desk")), error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
