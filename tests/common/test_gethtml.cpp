#include "common/gethtml_internal.h"
#include "common/myfun.h"

#include "loopbackport.h"
#include "printqstring.h"
#include "selfsigned.h"
#include "tempfolder.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

const char* const Chinese = "宫保鸡丁：￥28.00";
const char* const ExpectedAgent =
    "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/79.0.3945.130 Safari/537.36";

std::string headerOr(const httplib::Request& req, const char* name, const char* absent) {
    return req.has_header(name) ? req.get_header_value(name) : absent;
}

// A loopback server in a thread of the test process.
class GetHTMLTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        // Nothing between us and 127.0.0.1, whatever the environment says.
        qputenv("NO_PROXY", "*");
        qputenv("no_proxy", "*");
        TGetHTMLTuning quick;
        quick.readTimeoutMs = 300;
        SetGetHTMLTuning(quick);
    }

    void TearDown() override {
        release();
        if (m_server) {
            m_server->stop();
            m_thread.join();
        }
        SetGetHTMLTuning(TGetHTMLTuning{});
    }

    void start(std::unique_ptr<httplib::Server> server) {
        m_server = std::move(server);
        route(*m_server);
        m_port = m_server->bind_to_any_port("127.0.0.1");
        ASSERT_GT(m_port, 0);
        m_thread = std::thread([this] { m_server->listen_after_bind(); });
        while (!m_server->is_running())
            std::this_thread::sleep_for(1ms);
    }

    QString url(const char* path, const char* scheme = "http") const {
        return QStringLiteral("%1://127.0.0.1:%2%3")
            .arg(QLatin1String(scheme))
            .arg(m_port)
            .arg(QLatin1String(path));
    }

    int requests() const { return m_requests; }

private:
    void route(httplib::Server& s) {
        s.set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
            ++m_requests;
            return httplib::Server::HandlerResponse::Unhandled;
        });
        s.Get("/text", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("hello, zeltora", "text/plain");
        });
        s.Get("/chinese", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(Chinese, "text/plain; charset=utf-8");
        });
        s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("no such page", "text/plain");
        });
        s.Get("/broken", [](const httplib::Request&, httplib::Response& res) {
            res.status = 500;
            res.set_content("server fault", "text/plain");
        });
        s.Get("/redirect",
              [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/text"); });
        s.Get("/login", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "sid=42; Path=/");
            res.set_redirect("/echo");
        });
        s.Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content("agent=" + headerOr(req, "User-Agent", "-") +
                                "\naccept=" + headerOr(req, "Accept", "-") +
                                "\nreferer=" + headerOr(req, "Referer", "-") + "\ncookie=" +
                                headerOr(req, "Cookie", "-") + "\nversion=" + req.version,
                            "text/plain");
        });
        // Answers only when the test ends (or after 10 s).
        s.Get("/stall", [this](const httplib::Request&, httplib::Response& res) {
            std::unique_lock lock(m_mutex);
            m_released.wait_for(lock, 10s, [this] { return m_release; });
            res.set_content("late", "text/plain");
        });
        // Ten pieces 100 ms apart: slower in total than the read time-out,
        // never silent for that long.
        s.Get("/trickle", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain",
                                             [](size_t offset, httplib::DataSink& sink) {
                                                 if (offset >= 10) {
                                                     sink.done();
                                                     return true;
                                                 }
                                                 std::this_thread::sleep_for(100ms);
                                                 sink.write("x", 1);
                                                 return true;
                                             });
        });
    }

    void release() {
        std::lock_guard lock(m_mutex);
        m_release = true;
        m_released.notify_all();
    }

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    std::atomic<int> m_requests{0};
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_release = false;
};

TEST_F(GetHTMLTest, ReturnsTheBody) {
    start(std::make_unique<httplib::Server>());
    EXPECT_EQ(GetHTML(url("/text"), "", "", 65001), "hello, zeltora");
    EXPECT_EQ(GetHTML(url("/chinese"), "", "", 65001), QString::fromUtf8(Chinese));
}

TEST_F(GetHTMLTest, ErrorStatusGivesEmpty) {
    start(std::make_unique<httplib::Server>());
    EXPECT_EQ(GetHTML(url("/missing"), "", "", 65001), "");
    EXPECT_EQ(GetHTML(url("/broken"), "", "", 65001), "");
    EXPECT_EQ(requests(), 2);
}

TEST_F(GetHTMLTest, SilentServerRunsIntoTheReadTimeOut) {
    start(std::make_unique<httplib::Server>());
    EXPECT_EQ(GetHTML(url("/stall"), "", "", 65001), "");
}

TEST_F(GetHTMLTest, SlowButSteadyBodyIsNotCutOff) {
    start(std::make_unique<httplib::Server>());
    EXPECT_EQ(GetHTML(url("/trickle"), "", "", 65001), "xxxxxxxxxx");
}

TEST_F(GetHTMLTest, FollowsRedirectsAndKeepsTheirCookies) {
    start(std::make_unique<httplib::Server>());
    EXPECT_EQ(GetHTML(url("/redirect"), "", "", 65001), "hello, zeltora");
    EXPECT_TRUE(GetHTML(url("/login"), "", "", 65001).contains("\ncookie=sid=42\n"));
}

TEST_F(GetHTMLTest, SendsItsHeadersAndRefererAndCookieWhenGiven) {
    start(std::make_unique<httplib::Server>());
    const QString expected = QStringLiteral("agent=%1\naccept=*/*\nreferer=%2\ncookie=%3\n"
                                            "version=HTTP/1.1");
    EXPECT_EQ(GetHTML(url("/echo"), "http://shop.test/menu", "a=1; b=2", 65001),
              expected.arg(ExpectedAgent, "http://shop.test/menu", "a=1; b=2"));
    EXPECT_EQ(GetHTML(url("/echo"), "", "", 65001), expected.arg(ExpectedAgent, "-", "-"));
}

TEST_F(GetHTMLTest, LineBreakInAHeaderValueSendsNothing) {
    start(std::make_unique<httplib::Server>());
    EXPECT_EQ(GetHTML(url("/echo"), "http://a.test/\r\nX-Injected: 1", "", 65001), "");
    EXPECT_EQ(GetHTML(url("/echo"), "", "a=1\nX-Injected: 1", 65001), "");
    EXPECT_EQ(requests(), 0);
}

TEST_F(GetHTMLTest, UnreachableOrUnsupportedAddressesGiveEmpty) {
    const int closedPort = UnusedLoopbackPort();
    ASSERT_GT(closedPort, 0);
    EXPECT_EQ(GetHTML(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort), "", "", 65001), "");
    EXPECT_EQ(GetHTML("file:///etc/hostname", "", "", 65001), "");
    EXPECT_EQ(GetHTML("", "", "", 65001), "");
}

TEST_F(GetHTMLTest, HttpsVerifiesTheServerCertificate) {
    const QString cert = path("cert.pem");
    const QString key = path("key.pem");
    ASSERT_TRUE(WriteSelfSignedCertificate(cert, key));
    auto server = std::make_unique<httplib::SSLServer>(cert.toLocal8Bit().constData(),
                                                       key.toLocal8Bit().constData());
    ASSERT_TRUE(server->is_valid());
    start(std::move(server));

    // Unknown issuer: refused.
    EXPECT_EQ(GetHTML(url("/text", "https"), "", "", 65001), "");

    // The same server once its certificate is trusted.
    TGetHTMLTuning trusting;
    trusting.readTimeoutMs = 300;
    trusting.caFile = cert;
    SetGetHTMLTuning(trusting);
    EXPECT_EQ(GetHTML(url("/text", "https"), "", "", 65001), "hello, zeltora");
}

} // namespace
