#pragma once

// A cpp-httplib server on 127.0.0.1 in a thread of the test process, plain
// http or, given a certificate and key, https; with a gate that handlers can
// wait at until the test opens it. Link PkgConfig::HTTPLIB
// (pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)).

#include <QByteArray>
#include <QFile>
#include <QString>

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class TLoopbackServer {
public:
    TLoopbackServer(const QString& certFile = {}, const QString& keyFile = {})
        : FTls(!certFile.isEmpty()), FServerPtr(FTls ? std::make_unique<httplib::SSLServer>(
                                                           QFile::encodeName(certFile).constData(),
                                                           QFile::encodeName(keyFile).constData())
                                                     : std::make_unique<httplib::Server>()),
          FServer(*FServerPtr) {
        FServer.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
            ++FRequests;
            std::lock_guard lock(FMutex);
            FLastTarget = req.target;
            return httplib::Server::HandlerResponse::Unhandled;
        });
    }

    ~TLoopbackServer() {
        Open();
        if (FThread.joinable()) {
            FServer.stop();
            FThread.join();
        }
    }

    httplib::Server& Http() { return FServer; }

    // Call after the routes are set.
    bool Start() {
        FPort = FServer.bind_to_any_port("127.0.0.1");
        if (FPort <= 0)
            return false;
        FThread = std::thread([this] { FServer.listen_after_bind(); });
        while (!FServer.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
    }

    QString Base() const {
        return QStringLiteral("%1://127.0.0.1:%2")
            .arg(FTls ? QStringLiteral("https") : QStringLiteral("http"))
            .arg(FPort);
    }
    QString Url(const char* path) const { return Base() + QString::fromUtf8(path); }

    int Requests() const { return FRequests; }
    std::string LastTarget() {
        std::lock_guard lock(FMutex);
        return FLastTarget;
    }

    // Handlers wait here until the gate is opened (at the latest after 10 s).
    void WaitAtGate() {
        std::unique_lock lock(FMutex);
        FGateChanged.wait_for(lock, std::chrono::seconds(10), [this] { return FOpen; });
    }
    void Open() {
        {
            std::lock_guard lock(FMutex);
            FOpen = true;
        }
        FGateChanged.notify_all();
    }

    // A body of 2048 bytes that passes for a program of this machine: the
    // first 1024 bytes of the running test program (its ELF header) and 1024
    // times 'b'.
    static QByteArray ProgramBody() {
        QFile self(QStringLiteral("/proc/self/exe"));
        const QByteArray head = self.open(QIODevice::ReadOnly) ? self.read(1024) : QByteArray();
        return head + QByteArray(1024, 'b');
    }

    // path answers with body (ProgramBody() when empty), the second half only
    // once the gate is open.
    void ServeInTwoHalves(const char* path, QByteArray body = {}) {
        if (body.isEmpty())
            body = ProgramBody();
        const std::string all = body.toStdString();
        FServer.Get(path, [this, all](const httplib::Request&, httplib::Response& res) {
            const size_t half = all.size() / 2;
            res.set_content_provider(
                all.size(), "application/octet-stream",
                [this, all, half](size_t offset, size_t, httplib::DataSink& sink) {
                    if (offset >= half)
                        WaitAtGate();
                    const size_t end = offset < half ? half : all.size();
                    return sink.write(all.data() + offset, end - offset);
                });
        });
    }

private:
    bool FTls = false;
    std::unique_ptr<httplib::Server> FServerPtr;
    httplib::Server& FServer;
    std::thread FThread;
    int FPort = 0;
    std::atomic<int> FRequests{0};
    std::mutex FMutex;
    std::condition_variable FGateChanged;
    bool FOpen = false;
    std::string FLastTarget;
};
