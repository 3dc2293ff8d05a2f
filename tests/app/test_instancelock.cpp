#include "app/startup/instancelock.h"

#include "childrun.h"
#include "tempfolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace {

using InstanceLockTest = TempFolderTest;

QString lockIn(const QString& folder) {
    switch (LockWorkFolder(folder)) {
    case TLockResult::Acquired:
        return QStringLiteral("acquired");
    case TLockResult::HeldElsewhere:
        return QStringLiteral("held elsewhere");
    case TLockResult::Unavailable:
        return QStringLiteral("unavailable");
    }
    return QStringLiteral("?");
}

// A forked child starts with a copy of this process's lock; it drops it to
// stand for a process of its own.
QString lockInNewProcess(const QString& folder) {
    UnlockWorkFolder();
    return lockIn(folder);
}

TEST_F(InstanceLockTest, AnotherProcessIsRefusedUntilTheHolderDies) {
    const QString other = path(QStringLiteral("other/"));
    ASSERT_TRUE(QDir().mkpath(other));

    TLiveChild holder([&] { return lockInNewProcess(folder()); });
    ASSERT_EQ(holder.Report(), QStringLiteral("acquired"));
    EXPECT_EQ(lockIn(folder()), QStringLiteral("held elsewhere"));
    EXPECT_EQ(lockIn(other), QStringLiteral("acquired"));

    // A crash leaves the file behind but not the lock.
    holder.Kill();
    EXPECT_TRUE(QFileInfo::exists(folder() + LockFileName()));
    EXPECT_EQ(lockIn(folder()), QStringLiteral("acquired"));
    EXPECT_EQ(lockIn(folder()), QStringLiteral("acquired")); // asking again holds it still

    TLiveChild late([&] { return lockInNewProcess(folder()); });
    EXPECT_EQ(late.Report(), QStringLiteral("held elsewhere"));

    UnlockWorkFolder();
    TLiveChild after([&] { return lockInNewProcess(folder()); });
    EXPECT_EQ(after.Report(), QStringLiteral("acquired"));
}

TEST_F(InstanceLockTest, AProgramStartedByTheHolderDoesNotKeepTheLock) {
    // The holder becomes a long-running program, as the updater would be.
    TLiveChild holder([&] { return lockInNewProcess(folder()); },
                      {QStringLiteral("/bin/sleep"), QStringLiteral("60")});
    ASSERT_EQ(holder.Report(), QStringLiteral("acquired"));
    // The child reports before it execs; on a busy machine the exec may take
    // a moment. A lock that survived the exec would stay for the whole minute.
    QDeadlineTimer deadline(5000);
    QString result = lockIn(folder());
    while (result != QStringLiteral("acquired") && !deadline.hasExpired()) {
        QThread::msleep(10);
        result = lockIn(folder());
    }
    EXPECT_EQ(result, QStringLiteral("acquired"));
}

} // namespace
