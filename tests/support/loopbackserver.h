#pragma once

// A cpp-httplib server on 127.0.0.1 in a thread of the test process, with a
// gate that handlers can wait at until the test opens it. Link
// PkgConfig::HTTPLIB (pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)).

#include <QString>

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class TLoopbackServer {
public:
    TLoopbackServer() {
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

    QString Base() const { return QStringLiteral("http://127.0.0.1:%1").arg(FPort); }
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

    // path answers with 2048 bytes ('a' then 'b'), the second half only once
    // the gate is open.
    void ServeInTwoHalves(const char* path) {
        FServer.Get(path, [this](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(2048, "application/octet-stream",
                                     [this](size_t offset, size_t, httplib::DataSink& sink) {
                                         if (offset == 1024)
                                             WaitAtGate();
                                         const std::string half(1024, offset == 0 ? 'a' : 'b');
                                         return sink.write(half.data(), half.size());
                                     });
        });
    }

private:
    httplib::Server FServer;
    std::thread FThread;
    int FPort = 0;
    std::atomic<int> FRequests{0};
    std::mutex FMutex;
    std::condition_variable FGateChanged;
    bool FOpen = false;
    std::string FLastTarget;
};
