#include "backup/backupservice.h"

#include "backup/backupconfig.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "common/ui/laymsg.h"
#include "common/ui/showcentred.h"
#include "platform/platform.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

TBackupService* g_active = nullptr;

QString closingText() {
    return QStringLiteral("正在备份数据，完成后程序将退出，请稍候…");
}

} // namespace

QWidget* NewBackupProgressWindow(const QString& text, QProgressBar*& bar) {
    auto* window = new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window->setObjectName(QStringLiteral("BackupProgress"));
    window->setWindowTitle(QStringLiteral("数据备份"));
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(new QLabel(text, window));
    bar = new QProgressBar(window);
    bar->setRange(0, 100);
    bar->setValue(0);
    layout->addWidget(bar);
    window->setMinimumWidth(360);
    return window;
}

TBackupService* ActiveBackups() {
    return g_active;
}

void SetActiveBackups(TBackupService* service) {
    g_active = service;
}

TBackupService::TBackupService(QObject* parent) : QObject(parent), FTimer(new QTimer(this)) {
    FTimer->setInterval(200);
    connect(FTimer, &QTimer::timeout, this, &TBackupService::tick);
    Options.Progress = [this](int done, int total) {
        FDone = done;
        FTotal = total;
    };
}

TBackupService::~TBackupService() {
    if (FWorker.joinable())
        FWorker.join();
    delete FProgressWindow;
    if (g_active == this)
        g_active = nullptr;
}

void TBackupService::SetNotifyWindow(QWidget* window) {
    FNotify = window;
}

bool TBackupService::Run(std::function<QString()> work, std::function<void(const QString&)> done,
                         QWidget* notifyOn) {
    if (Running())
        return false;
    FDone = 0;
    FTotal = 0;
    FOnDone = std::move(done);
    FJobWindow = notifyOn ? notifyOn : FNotify.data();
    FElapsed.start();
    FTimer->start();
    FWorker = std::thread([this, work = std::move(work)] {
        QString result;
        try {
            result = work();
        } catch (const std::exception& e) {
            result = QString::fromUtf8(e.what());
        }
        FResult = result;
        // Delivered on the thread of the windows; dropped if the service is gone.
        QMetaObject::invokeMethod(this, &TBackupService::jobDone, Qt::QueuedConnection);
    });
    return true;
}

void TBackupService::jobDone() {
    if (FWorker.joinable())
        FWorker.join();
    FTimer->stop();
    auto done = std::exchange(FOnDone, nullptr);
    if (done)
        done(FResult);
    if (FClosing && !Running()) {
        if (!FClosingBackupStarted) {
            FClosingBackupStarted = true;
            if (!startBackup(nullptr))
                finishClosing();
        } else {
            finishClosing();
        }
    }
}

void TBackupService::tick() {
    if (!Running() || FElapsed.elapsed() < ProgressAfterMs)
        return;
    const int total = FTotal;
    const int percent = total > 0 ? int(qint64(FDone) * 100 / total) : 0;
    // Once every page is copied the copy is checked, which takes as long again.
    const bool checking = total > 0 && FDone >= total;
    if (FClosing) {
        if (FProgressWindow && !FProgressWindow->isVisible())
            ShowCentred(FProgressWindow, nullptr);
        if (FProgressBar) {
            FProgressBar->setRange(0, checking ? 0 : 100);
            FProgressBar->setValue(percent);
        }
        return;
    }
    if (FJobWindow && FJobWindow->isVisible())
        laymsg(checking ? QStringLiteral("备份校验中") : QStringLiteral("备份中(%1%)").arg(percent),
               2, FJobWindow);
}

QString TBackupService::OutcomeText(const TBackupOutcome& outcome) {
    if (!outcome.Error.isEmpty())
        return QStringLiteral("备份失败: ") + outcome.Error +
               QStringLiteral("（原有备份均已保留）");
    QString text = QStringLiteral("备份完成");
    // Said once per run: a stick left at home is no reason to nag the till.
    if (!outcome.SecondError.isEmpty() && !FSecondReported) {
        FSecondReported = true;
        text += QStringLiteral("；") + outcome.SecondError;
    }
    return text;
}

bool TBackupService::startBackup(QWidget* notifyOn) {
    const QString db = sqlitename;
    const QString folder = softpath;
    if (db.isEmpty() || !QFileInfo(db).isFile())
        return false;
    const QString dir2 = LoadBackupDir2(inipath);
    const QDateTime when = zclock::Now();
    auto outcome = std::make_shared<TBackupOutcome>();
    const TBackupOptions options = Options;
    return Run(
        [=] {
            *outcome = RunBackup(db, folder, dir2, when, options);
            return outcome->Error;
        },
        [this, outcome](const QString&) {
            const QString text = OutcomeText(*outcome);
            if (FClosing) {
                if (!outcome->Error.isEmpty())
                    platform::DebugOutput(text);
            } else if (FJobWindow) {
                laymsg(text, 0, FJobWindow);
            }
            emit BackupFinished(*outcome);
        },
        notifyOn);
}

bool TBackupService::Start(QWidget* notifyOn) {
    return startBackup(notifyOn);
}

bool TBackupService::StartIfNoneToday() {
    if (softpath.isEmpty() || HasBackupOf(softpath + BackupFolderName(), zclock::Now().date()))
        return false;
    return startBackup(nullptr);
}

void TBackupService::CloseAfterBackup(std::function<void()> quit) {
    FQuit = std::move(quit);
    if (FClosing)
        return;
    FClosing = true;
    // Nothing more is taken at the till while the last copy is made.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            window->hide();
    FProgressWindow = NewBackupProgressWindow(closingText(), FProgressBar);
    if (FSkipClosing)
        FClosingBackupStarted = true;
    if (Running())
        return; // jobDone goes on with the closing backup
    if (FClosingBackupStarted) {
        finishClosing();
        return;
    }
    FClosingBackupStarted = true;
    if (!startBackup(nullptr))
        finishClosing();
}

void TBackupService::WaitUntilDone() {
    if (!Running())
        return;
    if (!FProgressWindow)
        FProgressWindow = NewBackupProgressWindow(closingText(), FProgressBar);
    FClosing = true;
    FClosingBackupStarted = true;
    QEventLoop loop;
    auto quit = std::exchange(FQuit, [&loop] { loop.quit(); });
    loop.exec();
    if (quit)
        quit();
}

void TBackupService::finishClosing() {
    if (FProgressWindow)
        FProgressWindow->hide();
    if (auto quit = std::exchange(FQuit, nullptr))
        quit();
}
