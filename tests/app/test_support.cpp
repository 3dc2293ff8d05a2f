#include "app/supportcommands.h"
#include "billing/table/form_desk_open.h"
#include "common/myfun.h"
#include "common/ui/laymsg.h"
#include "common/update/download.h"
#include "common/update/downupdate.h"
#include "common/update/updatevalues.h"
#include "floor/view/desktile.h"

#include "loopbackport.h"
#include "loopbackserver.h"
#include "programfixture.h"
#include "selfsigned.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Records the addresses handed to the desktop's browser.
class TUrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void open(const QUrl& url) { Opened << url; }
};

class SupportCommandsTest : public ProgramWindowsTest {
protected:
    void SetUp() override {
        ProgramWindowsTest::SetUp();
        qputenv("NO_PROXY", "*");
        qputenv("no_proxy", "*");
        // Programs come from an https server whose certificate is trusted.
        const QString cert = path(QStringLiteral("cert.pem"));
        const QString key = path(QStringLiteral("key.pem"));
        ASSERT_TRUE(WriteSelfSignedCertificate(cert, key));
        secure = std::make_unique<TLoopbackServer>(cert, key);
        TDownloadTuning trusting;
        trusting.caFile = cert;
        SetDownloadTuning(trusting);
    }

    void TearDown() override {
        for (const pid_t pid : FStarted)
            ::kill(pid, SIGKILL);
        SetDownloadTuning(TDownloadTuning{});
        for (QProcess* p : FRunning) {
            p->kill();
            p->waitForFinished();
            delete p;
        }
        ProgramWindowsTest::TearDown();
    }

    void writeConfig(const QString& url, const QString& download = QString()) {
        QFile ini(path(QStringLiteral("config.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setting]\nshop=1\n[Update]\nurl=" + url.toUtf8() +
                  "\ndownload=" + download.toUtf8() + "\n");
    }

    // The service answers body and config.ini points at it.
    void serveAnswer(const std::string& body) {
        server.Http().Get("/api/index.php",
                          [body](const httplib::Request&, httplib::Response& res) {
                              res.set_content(body, "application/json");
                          });
    }
    // The answer of the upkeep tests: the updater (the sleeper, version
    // 9.9.9.9) is to be fetched from /update-file of the https server.
    void serveUpkeepAnswer(int isupupdate, const std::string& version = "251111",
                           const char* file = "/update-file") {
        server.Http().Get("/api/index.php", [this, isupupdate, version, file](
                                                const httplib::Request&, httplib::Response& res) {
            res.set_content(R"({"version":")" + version +
                                R"(","isupdate":1,"updateversion":"9.9.9.9","isupupdate":)" +
                                std::to_string(isupupdate) + R"(,"helpurl":"https://h/help",)" +
                                R"("downupdateurl":")" + secure->Url(file).toStdString() + R"("})",
                            "application/json");
        });
        if (std::string(file) == "/update-file")
            secure->ServeInTwoHalves(file, sleeperBody());
    }
    void startServer() {
        ASSERT_TRUE(server.Start());
        ASSERT_TRUE(secure->Start());
        writeConfig(server.Base(), secure->Base());
    }

    // A real program of this machine with a version note, of an even size so
    // its halves are exact.
    static QByteArray sleeperBody() {
        QFile sleeper(QStringLiteral(TEST_SLEEPER));
        EXPECT_TRUE(sleeper.open(QIODevice::ReadOnly));
        QByteArray body = sleeper.readAll();
        if (body.size() % 2)
            body.append('\0');
        return body;
    }
    // The sleeper at name, its version note saying 9.9.9.<last>.
    void writeSleeper(const QString& name, uint32_t last = 9) {
        QByteArray body = sleeperBody();
        const uint32_t nines[4] = {9, 9, 9, 9};
        const QByteArray note = QByteArray("Zeltora", 8) +
                                QByteArray(reinterpret_cast<const char*>(nines), sizeof nines);
        const qsizetype at = body.indexOf(note);
        ASSERT_GT(at, 0);
        std::memcpy(body.data() + at + 8 + 12, &last, sizeof last);
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(body);
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    // The process id the sleeper at name reported once started; 0 when it did not start.
    pid_t started(const QString& name) {
        QFile report(path(name + ".pid"));
        if (!QTest::qWaitFor([&] { return report.size() > 0; }, 5000) ||
            !report.open(QIODevice::ReadOnly))
            return 0;
        const pid_t pid = pid_t(report.readAll().trimmed().toInt());
        FStarted << pid;
        return pid;
    }
    static bool alive(pid_t pid) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray line = stat.readAll();
        const qsizetype end = line.lastIndexOf(')');
        return end > 0 && line.mid(end + 2, 1) != "Z";
    }

    // An executable at name that writes its folder to name + ".ran" there.
    void writeScript(const QString& name) {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\npwd > \"$0.ran\"\n");
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    bool ran(const QString& name) {
        return QTest::qWaitFor([&] { return QFileInfo(path(name + ".ran")).size() > 0; }, 5000);
    }

    void trigger(const char* entry) {
        QAction* action = window->MenuAction(QString::fromLatin1(entry));
        ASSERT_TRUE(action) << entry;
        action->trigger();
    }

    bool asked(const QString& text, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return messages.Texts().contains(text); }, timeoutMs);
    }

    QString panelText() const { return mypan() && mypan()->isVisible() ? mypan()->text() : ""; }

    QProcess* runSleepAs(const QString& name) {
        EXPECT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), path(name)));
        auto* p = new QProcess;
        FRunning << p;
        p->start(path(name), {QStringLiteral("60")});
        EXPECT_TRUE(p->waitForStarted());
        return p;
    }

    TLoopbackServer server;
    std::unique_ptr<TLoopbackServer> secure;

private:
    QList<QProcess*> FRunning;
    QList<pid_t> FStarted;
};

const QString kAssist =
    QStringLiteral("即将打开远程协助工具吗，等待几秒，程序启动后，请将设备代码和临时密码发给我们");
const QString kDownloadTool = QStringLiteral("您还未下载远程协助工具，系统将下载远程协助工具");
const QString kNoUpdater = QStringLiteral("升级文件不存在,请确认");

TEST_F(SupportCommandsTest, StartUpOfferShowsTheNewsThenStartsTheUpdater) {
    serveAnswer(R"({"version":"251112","isupdate":1,"upstr":"新增会员"})");
    startServer();
    writeScript(QStringLiteral("update"));
    startProgram();
    ASSERT_TRUE(asked(QStringLiteral("检测到软件有新的更新\r\n新增会员")));
    ASSERT_TRUE(ran(QStringLiteral("update")));
    EXPECT_FALSE(messages.Texts().contains(kNoUpdater));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SupportCommandsTest, StartUpOfferWithoutAnUpdaterSaysSo) {
    serveAnswer(R"({"version":"251112","isupdate":1,"upstr":"新增会员"})");
    startServer();
    startProgram();
    ASSERT_TRUE(asked(kNoUpdater));
    const QStringList texts = messages.Texts();
    EXPECT_EQ(texts.indexOf(kNoUpdater) - 1,
              texts.indexOf(QStringLiteral("检测到软件有新的更新\r\n新增会员")));
}

TEST_F(SupportCommandsTest, NoOfferForTheSameVersionButTheValuesAreKept) {
    serveAnswer(R"({"version":"251111","isupdate":1,"upstr":"x","helpurl":"https://h/help"})");
    startServer();
    startProgram();
    ASSERT_TRUE(QTest::qWaitFor([] { return helpurl == QStringLiteral("https://h/help"); }, 5000));
    for (const QString& text : messages.Texts())
        EXPECT_FALSE(text.startsWith(QStringLiteral("检测到软件有新的更新"))) << text.toStdString();
}

TEST_F(SupportCommandsTest, UpkeepEndsTheOldUpdaterAndDownloadsANewOneAfterThreeSeconds) {
    serveUpkeepAnswer(1);
    startServer();
    QProcess* oldUpdater = runSleepAs(QStringLiteral("update"));
    startProgram();

    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Timer_update->isActive(); }, 5000));
    EXPECT_EQ(window->Timer_update->interval(), 3000);
    EXPECT_TRUE(oldUpdater->waitForFinished(5000)) << "the running updater was not ended";
    EXPECT_EQ(server.Requests(), 1); // only the query so far
    EXPECT_EQ(secure->Requests(), 0);

    // The test does not sit out the three seconds.
    window->Timer_update->setInterval(50);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return panelText() == QStringLiteral("升级程序加载中(50.00%)"); }, 5000))
        << panelText().toStdString();
    EXPECT_FALSE(window->Timer_update->isActive());
    EXPECT_EQ(loadtit, QStringLiteral("升级程序"));
    EXPECT_EQ(QFileInfo(path(QStringLiteral("update"))).size(),
              QFileInfo(QStringLiteral("/bin/sleep")).size());
    secure->Open();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return panelText() == QStringLiteral("升级程序加载完成(100.00%)"); }, 5000));
    QFile update(path(QStringLiteral("update")));
    ASSERT_TRUE(update.open(QIODevice::ReadOnly));
    EXPECT_EQ(update.readAll(), sleeperBody());
}

// The offer's OK starts the updater; the upkeep asked for by the same answer
// has run before and leaves it running, and the new updater arrives beside it.
TEST_F(SupportCommandsTest, UpkeepRunsBeforeTheOfferedUpdaterStartsAndNeverEndsIt) {
    serveUpkeepAnswer(1, "251112");
    startServer();
    writeSleeper(QStringLiteral("update"), 8);
    startProgram();
    ASSERT_TRUE(asked(QStringLiteral("检测到软件有新的更新\r\n")));
    const pid_t updater = started(QStringLiteral("update"));
    ASSERT_GT(updater, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Timer_update->isActive(); }, 5000));
    QTest::qWait(300);
    EXPECT_TRUE(alive(updater)) << "the offered updater was ended";

    window->Timer_update->setInterval(50);
    secure->Open();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return panelText() == QStringLiteral("升级程序加载完成(100.00%)"); }, 5000));
    EXPECT_EQ(GetVersion(path(QStringLiteral("update"))), QStringLiteral("9.9.9.9"));
    EXPECT_TRUE(alive(updater));
}

// A portal page where the updater should be: refused, said so, the old one kept.
TEST_F(SupportCommandsTest, RefusedUpdaterDownloadIsToldAndTheOldUpdaterStays) {
    secure->Http().Get("/portal", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<html>请先登录</html>", "text/html");
    });
    serveUpkeepAnswer(1, "251111", "/portal");
    startServer();
    writeSleeper(QStringLiteral("update"), 8);
    startProgram();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Timer_update->isActive(); }, 5000));
    window->Timer_update->setInterval(10);
    ASSERT_TRUE(asked(DownloadRefusedText(QStringLiteral("升级程序"))));
    EXPECT_EQ(secure->Requests(), 1);
    EXPECT_EQ(GetVersion(path(QStringLiteral("update"))), QStringLiteral("9.9.9.8"));
}

// Serves size bytes (a program's header first) in pieces: piece i ends at
// cuts[i] and is sent once release[i] is set (at the latest after 10 s).
void servePieces(httplib::Server& http, const char* path, size_t size, std::vector<size_t> cuts,
                 std::vector<std::atomic<bool>*> release) {
    http.Get(path, [=](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(
            size, "application/octet-stream", [=](size_t offset, size_t, httplib::DataSink& sink) {
                size_t piece = 0;
                while (piece < cuts.size() && cuts[piece] <= offset)
                    ++piece;
                if (piece > 0 && release[piece - 1])
                    for (int i = 0; i < 1000 && !*release[piece - 1]; ++i)
                        std::this_thread::sleep_for(std::chrono::milliseconds(10));
                const size_t end = piece < cuts.size() ? cuts[piece] : size;
                std::string data(end - offset, 'p');
                if (offset == 0)
                    data.replace(0, 1024, TLoopbackServer::ProgramBody().left(1024).toStdString());
                return sink.write(data.data(), data.size());
            });
    });
}

// Two downloads at once: each percentage is of its own size.
TEST_F(SupportCommandsTest, TwoDownloadsAtOnceEachCountAgainstTheirOwnSize) {
    std::atomic<bool> first{false}, second{false};
    servePieces(secure->Http(), "/a", 4096, {1024, 2048}, {&first, &second});
    servePieces(secure->Http(), "/b", 8192, {1024}, {&second});
    startServer();
    startProgram();
    int done = 0;
    const auto count = [&](bool) {
        ++done;
    };
    ASSERT_TRUE(downupdate(secure->Url("/a"), path(QStringLiteral("a")), window.get(), count));
    EXPECT_TRUE(QTest::qWaitFor([&] { return panelText().endsWith("(25.00%)"); }, 5000))
        << panelText().toStdString();
    ASSERT_TRUE(downupdate(secure->Url("/b"), path(QStringLiteral("b")), window.get(), count));
    EXPECT_TRUE(QTest::qWaitFor([&] { return panelText().endsWith("(12.50%)"); }, 5000))
        << panelText().toStdString();
    first = true; // a goes on to half of its 4096 bytes
    EXPECT_TRUE(QTest::qWaitFor([&] { return panelText().endsWith("(50.00%)"); }, 5000))
        << panelText().toStdString();
    second = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return done == 2; }, 5000));
    EXPECT_EQ(QFileInfo(path(QStringLiteral("a"))).size(), 4096);
    EXPECT_EQ(QFileInfo(path(QStringLiteral("b"))).size(), 8192);
}

TEST_F(SupportCommandsTest, NoUpkeepWithoutTheUpdatersVersion) {
    serveAnswer(R"({"version":"251111","isupupdate":1,"helpurl":"https://h/help",)"
                R"("downupdateurl":"https://h/update"})");
    startServer();
    writeSleeper(QStringLiteral("update"), 8);
    startProgram();
    ASSERT_TRUE(QTest::qWaitFor([] { return !helpurl.isEmpty(); }, 5000));
    EXPECT_FALSE(window->Timer_update->isActive());
}

TEST_F(SupportCommandsTest, NoUpkeepWhenTheServiceDoesNotAskForIt) {
    serveUpkeepAnswer(0);
    startServer();
    startProgram();
    ASSERT_TRUE(QTest::qWaitFor([] { return !helpurl.isEmpty(); }, 5000));
    EXPECT_FALSE(window->Timer_update->isActive());
}

TEST_F(SupportCommandsTest, VersionComparisonShowsTheNineLines) {
    serveAnswer(R"({"version":"251111","subversion":" 03 "})");
    startServer();
    startProgram();
    trigger("N11");
    const QString rule(44, QLatin1Char('-'));
    ASSERT_TRUE(
        asked(QStringList({QStringLiteral("线上主版本：251111"), rule,
                           QStringLiteral("软件主版本：251111"), rule,
                           QStringLiteral("线上子版本：03"), rule, QStringLiteral("当前子版本：02"),
                           rule, QStringLiteral("当前版本子版本不一致，可升级")})
                  .join(QStringLiteral("\r\n"))));
}

TEST_F(SupportCommandsTest, VersionComparisonWithoutAServiceAddressSaysSo) {
    startProgram();
    trigger("N11");
    ASSERT_TRUE(asked(QStringLiteral("未配置升级服务地址")));
}

TEST_F(SupportCommandsTest, VersionComparisonTellsNoAnswerFromAnUnreadableOne) {
    serveAnswer("<html>version</html>");
    startServer();
    startProgram();
    trigger("N11");
    ASSERT_TRUE(asked(QStringLiteral("线上版本信息无法识别")));
    writeConfig(QStringLiteral("http://127.0.0.1:%1").arg(UnusedLoopbackPort()));
    trigger("N11");
    ASSERT_TRUE(asked(QStringLiteral("无法获取线上版本信息，请检查网络后重试")));
}

// An answer far too long is not used: no offer, and the floor is there and painted.
TEST_F(SupportCommandsTest, OversizedAnswerAtStartUpOffersNothing) {
    serveAnswer(R"({"version":"251112","isupdate":1,"helpurl":"https://h/help","upstr":")" +
                std::string(1 << 20, 'x') + R"("})");
    startServer();
    startProgram();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.Requests() == 1; }, 5000));
    QTest::qWait(300);
    EXPECT_TRUE(messages.Texts().filter(QStringLiteral("更新")).isEmpty());
    EXPECT_EQ(helpurl, QString());
    TDeskTile* tile = window->FindDeskGroupBox(1);
    ASSERT_TRUE(tile);
    EXPECT_FALSE(window->grab().isNull());
    click(tile);
    EXPECT_TRUE(screens->Form_desk_open->isVisible());
}

// A long description is cut and shown in the box that fits the screen and scrolls.
TEST_F(SupportCommandsTest, LongDescriptionIsCutAndShownInTheScrollingBox) {
    serveAnswer(R"({"version":"251112","isupdate":1,"upstr":")" + std::string(4096, 'x') + R"("})");
    startServer();
    startProgram();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !messages.Texts().filter(QStringLiteral("检测到软件有新的更新")).isEmpty(); },
        5000));
    const auto offer =
        std::find_if(messages.Calls.begin(), messages.Calls.end(), [](const auto& c) {
            return c.text.startsWith(QStringLiteral("检测到软件有新的更新"));
        });
    EXPECT_EQ(offer->kind, TMessageKind::LongInfo);
    EXPECT_EQ(offer->text.size(), QStringLiteral("检测到软件有新的更新\r\n").size() + 4000);
}

TEST_F(SupportCommandsTest, OneClickUpdateStartsTheUpdaterAndEndsTheProgram) {
    startProgram();
    trigger("N10");
    EXPECT_TRUE(asked(kNoUpdater, 0));
    EXPECT_TRUE(window->isVisible());

    writeScript(QStringLiteral("update"));
    trigger("N10");
    ASSERT_TRUE(ran(QStringLiteral("update")));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SupportCommandsTest, OneClickUpdateWaitsForTheUpdaterBeingDownloaded) {
    serveUpkeepAnswer(1);
    startServer();
    writeScript(QStringLiteral("update"));
    startProgram();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Timer_update->isActive(); }, 5000));
    window->Timer_update->setInterval(10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panelText().endsWith("(50.00%)"); }, 5000));
    trigger("N10");
    trigger("N10");
    EXPECT_EQ(panelText(), QStringLiteral("升级程序下载中，请稍候"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("update.ran"))));
    EXPECT_EQ(server.Requests(), 1);  // the query
    EXPECT_EQ(secure->Requests(), 1); // and one download
}

TEST_F(SupportCommandsTest, ShortcutIsMadeOnlyAfterOk) {
    qputenv("HOME", folder().toUtf8());
    qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toUtf8());
    const QString launcher = path(QStringLiteral("Desktop/Quorvel餐饮管理软件.desktop"));
    startProgram();
    messages.Answers = {false};
    trigger("N2");
    EXPECT_EQ(messages.Texts().last(), QStringLiteral("确认需要创建快捷方式到桌面吗"));
    EXPECT_FALSE(QFile::exists(launcher));
    trigger("N2");
    ASSERT_TRUE(QFile::exists(launcher));
    QFile file(launcher);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(
        "Exec=\"" +
        QFile::encodeName(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()) + "\""));
    EXPECT_EQ(messages.Texts().last(), QStringLiteral("确认需要创建快捷方式到桌面吗"));
}

TEST_F(SupportCommandsTest, RemoteAssistancePrefersTheFirstInstallPath) {
    writeScript(QStringLiteral("opt/todesk/bin/ToDesk"));
    writeScript(QStringLiteral("usr/bin/todesk"));
    RemoteToolPaths() = {path(QStringLiteral("opt/todesk/bin/ToDesk")),
                         path(QStringLiteral("usr/bin/todesk"))};
    startProgram();
    const int before = messages.Calls.size();
    trigger("N6");
    EXPECT_EQ(messages.Texts().mid(before), QStringList{kAssist});
    ASSERT_TRUE(ran(QStringLiteral("opt/todesk/bin/ToDesk")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("usr/bin/todesk.ran"))));
}

TEST_F(SupportCommandsTest, RemoteAssistanceDownloadsTheMissingToolThenAsks) {
    secure->Http().Get("/Public/remo", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(sleeperBody().toStdString(), "application/octet-stream");
    });
    startServer();
    RemoteToolPaths() = {path(QStringLiteral("none/ToDesk"))};
    startProgram();
    const int before = messages.Calls.size();
    trigger("N6");
    ASSERT_GT(started(QStringLiteral("remo")), 0);
    EXPECT_EQ(messages.Texts().mid(before), QStringList({kDownloadTool, kAssist}));
    EXPECT_EQ(panelText(), QStringLiteral("升级程序加载完成(100.00%)"));
}

// Cancelling the download ends the command: the tool is not there, so there
// is nothing to open and nothing more to ask.
TEST_F(SupportCommandsTest, RemoteAssistanceCancelledDownloadAsksNothingMore) {
    ASSERT_TRUE(secure->Start());
    writeConfig(QString(), secure->Base());
    RemoteToolPaths() = {path(QStringLiteral("none/ToDesk"))};
    startProgram();
    const int before = messages.Calls.size();
    messages.Answers = {false, true};
    trigger("N6");
    EXPECT_EQ(messages.Texts().mid(before), QStringList({kDownloadTool}));
    EXPECT_EQ(panelText(), QStringLiteral("您取消了操作"));
    QTest::qWait(100);
    EXPECT_EQ(secure->Requests(), 0);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("remo"))));

    // Agreed to, but with no server to download from: said so, nothing more asked.
    writeConfig(QString(), QString());
    trigger("N6");
    EXPECT_EQ(messages.Texts().mid(before),
              QStringList({kDownloadTool, kDownloadTool,
                           QStringLiteral("未配置下载服务地址，无法下载远程协助工具")}));
}

TEST_F(SupportCommandsTest, HelpOpensOnlyWebAddresses) {
    TUrlRecorder browser;
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &browser, "open");
    startProgram();
    trigger("N5"); // nothing known yet
    for (const char* address : {"file:///etc/passwd", "https://example.org/帮助 文档"}) {
        helpurl = QString::fromUtf8(address);
        trigger("N5");
    }
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    ASSERT_EQ(browser.Opened.size(), 1);
    EXPECT_EQ(browser.Opened[0], QUrl(QStringLiteral("https://example.org/帮助 文档")));
}

// A port that takes connections into its backlog and never answers them.
class TSilentPort {
public:
    TSilentPort() {
        FFd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(FFd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
            ::listen(FFd, 8) == 0 &&
            ::getsockname(FFd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            FPort = ntohs(address.sin_port);
        ::fcntl(FFd, F_SETFL, O_NONBLOCK);
    }
    ~TSilentPort() { ::close(FFd); }
    int Port() const { return FPort; }
    // True when a client has connected (taken from the backlog, then left alone).
    bool Connected() {
        const int client = ::accept(FFd, nullptr, nullptr);
        if (client < 0)
            return false;
        FClients << client;
        return true;
    }

private:
    int FFd = -1;
    int FPort = 0;
    QList<int> FClients;
};

TEST_F(SupportCommandsTest, FloorIsUsableAtOnceWhileTheServiceNeverAnswers) {
    TSilentPort silent;
    ASSERT_GT(silent.Port(), 0);
    writeConfig(QStringLiteral("http://127.0.0.1:%1").arg(silent.Port()));
    QElapsedTimer clock;
    clock.start();
    startProgram();
    TDeskTile* tile = window->FindDeskGroupBox(1);
    ASSERT_TRUE(tile);
    click(tile);
    ASSERT_TRUE(screens->Form_desk_open->isVisible());
    EXPECT_LT(clock.elapsed(), 1000);
    // The question was really sent and is still unanswered.
    ASSERT_TRUE(QTest::qWaitFor([&] { return silent.Connected(); }, 2000));
    EXPECT_TRUE(messages.Texts().filter(QStringLiteral("更新")).isEmpty());
}

} // namespace

#include "test_support.moc"
