#pragma once

// Backups off the user-interface thread: one job at a time on a worker
// thread, its result delivered back to this thread; the copy at the first
// start of a day; progress once a job takes longer than a moment; and on
// closing a wait for the running job and the closing backup, with a progress
// window, before the program ends.

#include "backup/backup.h"
#include "backup/backuprun.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <thread>

class QProgressBar;
class QTimer;
class QWidget;

class TBackupService : public QObject {
    Q_OBJECT
public:
    explicit TBackupService(QObject* parent = nullptr);
    // Waits for a running job: a copy is never cut off.
    ~TBackupService() override;

    // Where outcomes and progress are shown (laymsg) when a job names no window.
    void SetNotifyWindow(QWidget* window);

    // A backup of the working database; false when a job runs already or
    // there is no database yet. The outcome is shown on notifyOn.
    bool Start(QWidget* notifyOn = nullptr);
    // At start-up: a backup unless the backup folder holds a copy of today.
    bool StartIfNoneToday();

    // Any work off this thread; done gets its text here. False when busy.
    bool Run(std::function<QString()> work, std::function<void(const QString&)> done,
             QWidget* notifyOn = nullptr);

    bool Running() const { return FWorker.joinable(); }

    // The main window closed: hides every window, lets a running job end,
    // takes the closing backup and then calls quit, whatever its outcome.
    void CloseAfterBackup(std::function<void()> quit);

    // Closing takes no backup (a restart after a restore has its copy already).
    void SkipClosingBackup() { FSkipClosing = true; }

    // After the event loop ended: lets a running job end (the closing backup of
    // a quit asked for elsewhere) with the progress window, running a loop of its own.
    void WaitUntilDone();

    // The text a finished backup shows; empty for none.
    QString OutcomeText(const TBackupOutcome& outcome);

    TBackupOptions Options;
    // Progress is shown once a job runs this long (and the closing window too).
    int ProgressAfterMs = 1000;

signals:
    void BackupFinished(const TBackupOutcome& outcome);

private:
    bool startBackup(QWidget* notifyOn);
    void jobDone();
    void tick();
    void finishClosing();

    std::thread FWorker;
    std::atomic<int> FDone{0};
    std::atomic<int> FTotal{0};
    QString FResult;
    std::function<void(const QString&)> FOnDone;
    QPointer<QWidget> FNotify;
    QPointer<QWidget> FJobWindow;
    QElapsedTimer FElapsed;
    QTimer* FTimer = nullptr;
    bool FSecondReported = false;

    bool FClosing = false;
    bool FSkipClosing = false;
    bool FClosingBackupStarted = false;
    std::function<void()> FQuit;
    QWidget* FProgressWindow = nullptr;
    QProgressBar* FProgressBar = nullptr;
};

// A small window with text and a progress bar (0..100), hidden; the caller owns it.
QWidget* NewBackupProgressWindow(const QString& text, QProgressBar*& bar);

// The service of the running program (set by the message loop), or nullptr.
TBackupService* ActiveBackups();
void SetActiveBackups(TBackupService* service);
