#include "common/myfun.h"
#include "common/update/download.h"
#include "common/update/downloads.h"
#include "common/update/updateanswer.h"
#include "common/update/updatequery.h"
#include "common/update/updatevalues.h"

#include "loopbackport.h"
#include "loopbackserver.h"
#include "printqstring.h"
#include "selfsigned.h"
#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

class UpdateServiceTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        qputenv("NO_PROXY", "*");
        qputenv("no_proxy", "*");
        TDownloadTuning quick;
        quick.readTimeoutMs = 500;
        SetDownloadTuning(quick);
    }
    void TearDown() override { SetDownloadTuning(TDownloadTuning{}); }

    // The update service answers body to the version query.
    void serveAnswer(const std::string& body) {
        server.Http().Get("/api/index.php",
                          [body](const httplib::Request&, httplib::Response& res) {
                              res.set_content(body, "application/json");
                          });
        ASSERT_TRUE(server.Start());
    }

    // Serves answers[i] under a base of its own, /c<i>; returns that base.
    template <typename Case>
    std::function<QString(size_t)> serveEach(const Case* cases, size_t count) {
        std::vector<std::string> answers;
        for (size_t i = 0; i < count; ++i)
            answers.emplace_back(cases[i].answer);
        server.Http().Get(R"(/c(\d+)/api/index\.php)", [answers](const httplib::Request& req,
                                                                 httplib::Response& res) {
            res.set_content(answers.at(std::stoul(req.matches[1].str())), "application/json");
        });
        EXPECT_TRUE(server.Start());
        return [this](size_t i) {
            return server.Base() + QStringLiteral("/c%1").arg(i);
        };
    }

    // What came of the query as the program receives it, through the background query.
    TUpdateReply askReply(const QString& base) {
        QObject context;
        bool answered = false;
        TUpdateReply answer;
        RequestUpdateAnswer(base, &context, [&](const TUpdateReply& reply) {
            answer = reply;
            answered = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 10000));
        return answer;
    }
    QString ask(const QString& base) { return askReply(base).text; }

    TLoopbackServer server;
};

TEST_F(UpdateServiceTest, QuerySendsThePathAndTheProgramsVersions) {
    serveAnswer(R"({"version":"251111","subversion":"02"})");
    ask(server.Base() + QStringLiteral("/"));
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_EQ(server.LastTarget(),
              "/api/index.php?s=Update&a=index_json&version=251111&subversion=02");
}

TEST_F(UpdateServiceTest, NoAddressMakesNoRequestAndSaysSo) {
    serveAnswer(R"({"version":"251111","subversion":"02"})");
    const TUpdateReply reply = askReply(QString());
    EXPECT_EQ(reply.kind, TUpdateReply::TKind::NotConfigured);
    EXPECT_EQ(reply.text, QString());
    EXPECT_EQ(VersionComparisonBox(reply), QStringLiteral("未配置升级服务地址"));
    EXPECT_EQ(server.Requests(), 0);
    EXPECT_EQ(UpdateQueryUrl(QStringLiteral("  ")), QString());
}

struct TOfferCase {
    const char* answer;
    const char* offer; // nullptr: nothing offered
};

TEST_F(UpdateServiceTest, StartUpOfferFollowsVersionAndIsupdate) {
    const TOfferCase cases[] = {
        {R"({"version":"251111","isupdate":1,"upstr":"x"})", nullptr},
        {R"({"version":"251112","isupdate":0,"upstr":"x"})", nullptr},
        {R"({"version":"251112","isupdate":1,"upstr":"修复打印"})",
         "检测到软件有新的更新\r\n修复打印"},
        {R"({"version":"  251111 ","isupdate":"1"})", nullptr},
        {R"({"version":"251112","isupdate":" 1 ","upstr":" 新功能 "})",
         "检测到软件有新的更新\r\n新功能"},
    };
    const auto base = serveEach(cases, std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].answer);
        const QString text = ask(base(i));
        const auto answer = ParseUpdateAnswer(text);
        ASSERT_TRUE(answer);
        const auto offer = UpdateOfferText(*answer);
        if (cases[i].offer)
            EXPECT_EQ(offer.value_or(QStringLiteral("<none>")), QString::fromUtf8(cases[i].offer));
        else
            EXPECT_FALSE(offer) << offer->toStdString();
    }
}

TEST_F(UpdateServiceTest, AnswersWithoutTheQuotedKeyOrNotAnObjectAreNotUsed) {
    for (const char* text :
         {R"({"ver":"251112","isupdate":1})", R"({"Version":"251112"})", "version=251112",
          R"(["version","251112"])", R"({"version":"251112",)", ""})
        EXPECT_FALSE(ParseUpdateAnswer(QString::fromUtf8(text))) << text;
}

TEST_F(UpdateServiceTest, StoredValuesAreTrimmedAndMissingKeysAreEmpty) {
    serveAnswer(R"({"version":"251112","downupdateurl":" http://h/u ","updateversion":"1.2.3.4",)"
                R"("isupupdate":1,"helpurl":"https://h/help"})");
    const auto answer = ParseUpdateAnswer(ask(server.Base()));
    ASSERT_TRUE(answer);
    StoreUpdateAnswer(*answer);
    EXPECT_EQ(downupdateurl, "http://h/u");
    EXPECT_EQ(updateversion, "1.2.3.4");
    EXPECT_EQ(isupupdate, 1);
    EXPECT_EQ(helpurl, "https://h/help");
    EXPECT_EQ(answer->isupdate, 0);
    EXPECT_EQ(answer->upstr, "");
}

struct TCompareCase {
    const char* answer;
    const char* result;
};

TEST_F(UpdateServiceTest, VersionComparisonNamesWhatDiffers) {
    const TCompareCase cases[] = {
        {R"({"version":"251111","subversion":"03"})", "当前版本子版本不一致，可升级"},
        {R"({"version":"251112","subversion":"03"})", "当前版本子版本不一致，可升级"},
        {R"({"version":"251112","subversion":"02"})", "当前版本太低，须要升级"},
        {R"({"version":"251111","subversion":"02"})", "当前软件为最新版本无须升级"},
        {R"({"version":" 251111\t","subversion":" 02 "})", "当前软件为最新版本无须升级"},
    };
    const auto base = serveEach(cases, std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].answer);
        const QString box = VersionComparisonBox(ask(base(i)));
        const QStringList lines = box.split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.size(), 9) << box.toStdString();
        EXPECT_EQ(lines[8], QString::fromUtf8(cases[i].result));
    }
}

TEST_F(UpdateServiceTest, VersionComparisonBoxHasNineLines) {
    const QString rule(44, QLatin1Char('-'));
    EXPECT_EQ(VersionComparisonBox(QStringLiteral(R"({"version":" 251112 ","subversion":"02"})")),
              QStringList({QStringLiteral("线上主版本：251112"), rule,
                           QStringLiteral("软件主版本：251111"), rule,
                           QStringLiteral("线上子版本：02"), rule, QStringLiteral("当前子版本：02"),
                           rule, QStringLiteral("当前版本太低，须要升级")})
                  .join(QStringLiteral("\r\n")));
}

TEST_F(UpdateServiceTest, VersionComparisonSaysWhyThereIsNothingToCompare) {
    serveAnswer(R"({"version":"251112"})");
    const QString unreachable = QStringLiteral("无法获取线上版本信息，请检查网络后重试");
    const QString unreadable = QStringLiteral("线上版本信息无法识别");
    const TUpdateReply refused =
        askReply(QStringLiteral("http://127.0.0.1:%1").arg(UnusedLoopbackPort()));
    EXPECT_EQ(refused.kind, TUpdateReply::TKind::NoAnswer);
    EXPECT_EQ(VersionComparisonBox(refused), unreachable);
    EXPECT_EQ(VersionComparisonBox(askReply(server.Base())), unreadable); // no subversion
    EXPECT_EQ(VersionComparisonBox(QStringLiteral("<html>version</html>")), unreadable);
    EXPECT_EQ(VersionComparisonBox(QString()), unreachable);
}

// Texts from the network are bounded: the answer as a whole, each version and
// the description.
TEST_F(UpdateServiceTest, OversizedAnswersAndFieldsAreBounded) {
    const std::string longVersion(33, '9');
    const std::string huge(1 << 20, 'x');
    struct TCase {
        std::string answer;
        const char* box;
    };
    const std::vector<TCase> cases = {
        {R"({"version":"251111","subversion":"02","upstr":")" + huge + R"("})",
         "线上版本信息无法识别"},
        {R"({"version":")" + huge + R"("})", "线上版本信息无法识别"},
        {R"({"version":")" + longVersion + R"(","subversion":"02"})", "线上版本信息无法识别"},
        {R"({"version":"251111","subversion":")" + longVersion + R"("})", "线上版本信息无法识别"},
        {R"({"version":"251111","subversion":"02","updateversion":")" + longVersion + R"("})",
         "线上版本信息无法识别"},
    };
    server.Http().Get(
        R"(/c(\d+)/api/index\.php)", [cases](const httplib::Request& req, httplib::Response& res) {
            res.set_content(cases.at(std::stoul(req.matches[1].str())).answer, "application/json");
        });
    ASSERT_TRUE(server.Start());
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const TUpdateReply reply = askReply(server.Base() + QStringLiteral("/c%1").arg(i));
        EXPECT_EQ(VersionComparisonBox(reply), QString::fromUtf8(cases[i].box));
        EXPECT_LE(reply.text.size(), kMaxUpdateAnswerBytes);
    }
    EXPECT_EQ(askReply(server.Base() + QStringLiteral("/c0")).kind, TUpdateReply::TKind::TooLong);

    // Within the bound of the whole answer, a long description is cut.
    const QString upstr(4096, QChar(0x65B0)); // 新
    const auto answer = ParseUpdateAnswer(
        QStringLiteral(R"({"version":"251112","isupdate":1,"upstr":"%1"})").arg(upstr));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->upstr.size(), kMaxUpstrChars);
    EXPECT_TRUE(answer->upstr.endsWith(QStringLiteral("…")));
    const QString exact(kMaxUpstrChars, QLatin1Char('a'));
    EXPECT_EQ(
        ParseUpdateAnswer(QStringLiteral(R"({"version":"251112","upstr":"%1"})").arg(exact))->upstr,
        exact);
    const QString version32(kMaxVersionChars, QLatin1Char('1'));
    EXPECT_EQ(ParseUpdateAnswer(QStringLiteral(R"({"version":"%1"})").arg(version32))->version,
              version32);
}

TEST_F(UpdateServiceTest, OnlyWebAddressesAreHelpAddresses) {
    for (const char* good : {"http://example.org/help", "HTTPS://example.org/a?b=c"})
        EXPECT_TRUE(IsWebAddress(QString::fromUtf8(good))) << good;
    for (const char* bad : {"", "file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm",
                            "ftp://example.org/x", "http://", "mailto:a@b.c"})
        EXPECT_FALSE(IsWebAddress(QString::fromUtf8(bad))) << bad;
}

// The downloads, from an https server whose certificate is trusted: a
// recorder of what the background object signals.
class DownloadTest : public UpdateServiceTest {
protected:
    void SetUp() override {
        UpdateServiceTest::SetUp();
        const QString cert = path(QStringLiteral("cert.pem"));
        const QString key = path(QStringLiteral("key.pem"));
        ASSERT_TRUE(WriteSelfSignedCertificate(cert, key));
        secure = std::make_unique<TLoopbackServer>(cert, key);
        TDownloadTuning trusting;
        trusting.readTimeoutMs = 500;
        trusting.caFile = cert;
        SetDownloadTuning(trusting);
        // Only the downloaded files count in the folder.
        QDir().mkpath(path(QStringLiteral("to")));
    }
    void TearDown() override {
        secure.reset();
        UpdateServiceTest::TearDown();
    }
    QString to(const char* name) { return path(QStringLiteral("to/") + QString::fromUtf8(name)); }
    QStringList filesThere() { return QDir(path(QStringLiteral("to"))).entryList(QDir::Files); }

    std::unique_ptr<TLoopbackServer> secure;
    void watch(TDownloads& downloads) {
        QObject::connect(&downloads, &TDownloads::Began, [this](const QString&, qint64 total) {
            texts << DownloadBeginText(QString());
            lastTotal = total;
        });
        QObject::connect(&downloads, &TDownloads::Progress,
                         [this](const QString&, qint64 done, qint64 total) {
                             texts << DownloadWorkText(QString(), done, total);
                         });
        QObject::connect(&downloads, &TDownloads::Finished, [this](const QString&, bool ok) {
            texts << (ok ? DownloadEndText(QString()) : QStringLiteral("failed"));
            finished = true;
        });
    }

    QStringList texts;
    qint64 lastTotal = 0;
    bool finished = false;
};

TEST_F(DownloadTest, TwoHalvesShowFiftyPercentThenComplete) {
    secure->ServeInTwoHalves("/file");
    ASSERT_TRUE(secure->Start());
    TDownloads downloads;
    watch(downloads);
    const QString target = to("update");
    ASSERT_TRUE(downloads.Start(secure->Url("/file"), target));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !texts.isEmpty() && texts.last() == QStringLiteral("组件加载中(50.00%)"); },
        5000))
        << texts.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(texts.first(), QStringLiteral("组件加载中(00.00%)"));
    EXPECT_EQ(lastTotal, 2048);
    // Nothing is at the target while the transfer runs.
    EXPECT_FALSE(QFile::exists(target));
    secure->Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 5000));
    EXPECT_EQ(texts.last(), QStringLiteral("组件加载完成(100.00%)"));
    EXPECT_EQ(readAll(target), TLoopbackServer::ProgramBody());
    EXPECT_TRUE(QFileInfo(target).isExecutable());
    EXPECT_EQ(filesThere(), QStringList{QStringLiteral("update")});
}

TEST_F(DownloadTest, FailuresWriteNothingAndLeaveTheFileWhole) {
    secure->Http().Get("/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("not here", "text/plain");
    });
    secure->Http().Get("/broken", [](const httplib::Request&, httplib::Response& res) {
        res.status = 500;
        res.set_content("fault", "text/plain");
    });
    // Announces 2048 bytes, sends half and goes silent.
    secure->Http().Get("/cut", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(2048, "application/octet-stream",
                                 [this](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset > 0) {
                                         secure->WaitAtGate();
                                         return false;
                                     }
                                     const std::string half(1024, 'x');
                                     return sink.write(half.data(), half.size());
                                 });
    });
    ASSERT_TRUE(secure->Start());
    const QString target = to("update");
    const QString refused = QStringLiteral("https://127.0.0.1:%1/file").arg(UnusedLoopbackPort());
    for (const QString& url : {secure->Url("/missing"), secure->Url("/broken"), secure->Url("/cut"),
                               refused, QString()}) {
        SCOPED_TRACE(url.toStdString());
        write(target, "old updater");
        int begun = 0;
        TDownloadEvents events;
        events.begin = [&](int64_t) {
            ++begun;
        };
        EXPECT_EQ(DownloadFile(url, target, events), TDownloadResult::Failed);
        EXPECT_EQ(readAll(target), QByteArray("old updater"));
        EXPECT_EQ(filesThere(), QStringList{QStringLiteral("update")});
        if (!url.endsWith(QStringLiteral("/cut"))) {
            EXPECT_EQ(begun, 0);
        }
        QFile::remove(target);
        EXPECT_EQ(DownloadFile(url, target, events), TDownloadResult::Failed);
        EXPECT_FALSE(QFile::exists(target));
    }
}

// Bytes of a program of this machine with another machine written in its header.
QByteArray foreignProgram() {
    QByteArray body = TLoopbackServer::ProgramBody();
    uint16_t machine = 0;
    std::memcpy(&machine, body.constData() + 18, sizeof machine); // e_machine
    const uint16_t other = machine == 183 /* EM_AARCH64 */ ? 62 /* EM_X86_64 */ : 183;
    std::memcpy(body.data() + 18, &other, sizeof other);
    return body;
}

// What is started must come over https, be a program of this machine and,
// when asked for, carry the expected version; otherwise the old file stays.
TEST_F(DownloadTest, WhatIsNotASafeProgramOfThisMachineIsRefused) {
    TLoopbackServer plain;
    plain.Http().Get("/file", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(TLoopbackServer::ProgramBody().toStdString(), "application/octet-stream");
    });
    ASSERT_TRUE(plain.Start());
    const std::string plainUrl = plain.Url("/file").toStdString();
    secure->Http().Get("/to-http", [plainUrl](const httplib::Request&, httplib::Response& res) {
        res.set_redirect(plainUrl);
    });
    secure->Http().Get("/portal", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<html><body>请登录后上网</body></html>", "text/html");
    });
    secure->Http().Get("/foreign", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(foreignProgram().toStdString(), "application/octet-stream");
    });
    secure->Http().Get("/program", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(TLoopbackServer::ProgramBody().toStdString(), "application/octet-stream");
    });
    secure->Http().Get("/versioned", [](const httplib::Request&, httplib::Response& res) {
        QFile program(QStringLiteral(ZELTORA_PROGRAM));
        res.set_content(program.open(QIODevice::ReadOnly) ? program.readAll().toStdString() : "",
                        "application/octet-stream");
    });
    ASSERT_TRUE(secure->Start());
    const QString target = to("update");
    const struct {
        QString url;
        QString version;
    } refusedCases[] = {
        {plain.Url("/file"), {}},
        {secure->Url("/to-http"), {}},
        {secure->Url("/portal"), {}},
        {secure->Url("/foreign"), {}},
        {secure->Url("/program"), QStringLiteral(ZELTORA_EXPECTED_VERSION)}, // no version note
        {secure->Url("/versioned"), QStringLiteral("9.9.9.9")},
    };
    for (const auto& c : refusedCases) {
        SCOPED_TRACE(c.url.toStdString() + " " + c.version.toStdString());
        write(target, "old updater");
        EXPECT_EQ(DownloadFile(c.url, target, {}, c.version), TDownloadResult::Refused);
        EXPECT_EQ(readAll(target), QByteArray("old updater"));
        EXPECT_EQ(filesThere(), QStringList{QStringLiteral("update")});
    }
    EXPECT_EQ(plain.Requests(), 0); // never followed to the plain address

    // The right version of a program of this machine replaces the old file.
    EXPECT_EQ(DownloadFile(secure->Url("/versioned"), target, {},
                           QStringLiteral(ZELTORA_EXPECTED_VERSION)),
              TDownloadResult::Done);
    EXPECT_EQ(GetVersion(target), QStringLiteral(ZELTORA_EXPECTED_VERSION));
    EXPECT_TRUE(QFileInfo(target).isExecutable());
    EXPECT_EQ(DownloadFile(secure->Url("/program"), to("remo")), TDownloadResult::Done);
}

TEST_F(DownloadTest, UnannouncedSizeShowsWhatArrived) {
    secure->Http().Get("/chunked", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider(
            "application/octet-stream", [](size_t offset, httplib::DataSink& sink) {
                if (offset >= 3 * 524288) {
                    sink.done();
                    return true;
                }
                // A program's header first, as a real program has.
                std::string piece(524288, 'c');
                if (offset == 0) {
                    const QByteArray head = TLoopbackServer::ProgramBody().left(1024);
                    piece.replace(0, size_t(head.size()), head.toStdString());
                }
                return sink.write(piece.data(), piece.size());
            });
    });
    ASSERT_TRUE(secure->Start());
    TDownloads downloads;
    watch(downloads);
    ASSERT_TRUE(downloads.Start(secure->Url("/chunked"), to("remo")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 10000));
    EXPECT_EQ(lastTotal, -1);
    EXPECT_TRUE(texts.contains(QStringLiteral("组件加载中(已接收1.50MB)")))
        << texts.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(texts.last(), QStringLiteral("组件加载完成(100.00%)"));
    EXPECT_EQ(QFileInfo(to("remo")).size(), 3 * 524288);
    EXPECT_EQ(DownloadWorkText(QStringLiteral("升级程序"), 0, 0),
              QStringLiteral("升级程序加载中(已接收0.00MB)"));
}

TEST_F(DownloadTest, OneFileIsNeverDownloadedTwiceAtOnce) {
    secure->ServeInTwoHalves("/file");
    ASSERT_TRUE(secure->Start());
    TDownloads downloads;
    watch(downloads);
    const QString target = to("update");
    ASSERT_TRUE(downloads.Start(secure->Url("/file"), target));
    // The same file, also when named another way, is refused; another file is not.
    EXPECT_FALSE(downloads.Start(secure->Url("/file"), target));
    EXPECT_FALSE(downloads.Start(secure->Url("/file"),
                                 path(QStringLiteral("to/")) + QStringLiteral("./update")));
    EXPECT_TRUE(downloads.IsRunning(target));
    EXPECT_FALSE(downloads.Start(QString(), to("remo")));
    secure->Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 5000));
    EXPECT_EQ(secure->Requests(), 1);
    EXPECT_FALSE(downloads.IsRunning(target));
    EXPECT_TRUE(downloads.Start(secure->Url("/file"), target));
}

TEST_F(DownloadTest, FollowsRedirectsWithinHttps) {
    secure->Http().Get("/moved", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/real");
    });
    secure->Http().Get("/real", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(TLoopbackServer::ProgramBody().toStdString(), "application/octet-stream");
    });
    ASSERT_TRUE(secure->Start());
    EXPECT_EQ(DownloadFile(secure->Url("/moved"), to("remo")), TDownloadResult::Done);
    EXPECT_EQ(readAll(to("remo")), TLoopbackServer::ProgramBody());
}

TEST_F(DownloadTest, ClosingCancelsARunningDownloadWithoutWaitingForTheServer) {
    secure->ServeInTwoHalves("/file");
    ASSERT_TRUE(secure->Start());
    TDownloadTuning patient;
    patient.readTimeoutMs = 60000;
    patient.caFile = path(QStringLiteral("cert.pem"));
    SetDownloadTuning(patient);
    const QString target = to("update");
    write(target, "old updater");
    {
        TDownloads downloads;
        watch(downloads);
        ASSERT_TRUE(downloads.Start(secure->Url("/file"), target));
        ASSERT_TRUE(QTest::qWaitFor([&] { return texts.size() >= 2; }, 5000));
        // Destroyed here with the second half still held back by the server.
    }
    EXPECT_FALSE(finished);
    EXPECT_EQ(readAll(target), QByteArray("old updater"));
    EXPECT_EQ(filesThere(), QStringList{QStringLiteral("update")});
}

} // namespace
