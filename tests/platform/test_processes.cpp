#include "platform/processes.h"

#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ProcessesTest : public TempFolderTest {
protected:
    void TearDown() override {
        for (QProcess* p : FRunning) {
            p->kill();
            p->waitForFinished();
            delete p;
        }
    }

    // A copy of sleep at path, running.
    QProcess* runCopy(const QString& path) {
        EXPECT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        EXPECT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), path));
        auto* p = new QProcess;
        FRunning << p;
        p->start(path, {QStringLiteral("60")});
        EXPECT_TRUE(p->waitForStarted());
        return p;
    }

    static bool running(QProcess* p) { return !p->waitForFinished(200); }

private:
    QList<QProcess*> FRunning;
};

TEST_F(ProcessesTest, EndProcessEndsOnlyTheProgramFileOfTheGivenFolder) {
    QProcess* updater = runCopy(path(QStringLiteral("update")));
    QProcess* secondUpdater = new QProcess;
    secondUpdater->start(path(QStringLiteral("update")), {QStringLiteral("60")});
    ASSERT_TRUE(secondUpdater->waitForStarted());
    QProcess* sameNameElsewhere = runCopy(path(QStringLiteral("other/update")));
    QProcess* otherName = runCopy(path(QStringLiteral("zeltora")));

    EXPECT_EQ(platform::EndProcess(path(QStringLiteral("update"))), 2);
    for (QProcess* ended : {updater, secondUpdater}) {
        ASSERT_TRUE(ended->waitForFinished(5000));
        EXPECT_EQ(ended->exitStatus(), QProcess::CrashExit);
    }
    EXPECT_TRUE(running(sameNameElsewhere));
    EXPECT_TRUE(running(otherName));
    delete secondUpdater;
}

TEST_F(ProcessesTest, EndProcessOfAMissingFileEndsNothing) {
    QProcess* otherName = runCopy(path(QStringLiteral("zeltora")));
    EXPECT_EQ(platform::EndProcess(path(QStringLiteral("update"))), 0);
    EXPECT_TRUE(running(otherName));
}

TEST_F(ProcessesTest, ExecuteExternalExeCapturesBothChannelsAndPassesArgumentsAsTheyAre) {
    QString output = QStringLiteral("stale");
    ASSERT_TRUE(platform::ExecuteExternalExe(
        QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo out; echo err >&2")},
        output));
    EXPECT_EQ(output, QStringLiteral("out\nerr\n"));

    // No shell reads the arguments: blanks, quotes and separators arrive as written.
    const QString marker = path(QStringLiteral("marker"));
    const QString tricky =
        QStringLiteral("a b; touch ") + marker + QStringLiteral(" \"$HOME\" 宫保");
    ASSERT_TRUE(platform::ExecuteExternalExe(QStringLiteral("/bin/echo"), {tricky}, output));
    EXPECT_EQ(output, tricky + QLatin1Char('\n'));
    EXPECT_FALSE(QFile::exists(marker));
}

TEST_F(ProcessesTest, ProgramsThatCannotStartReportFalse) {
    QString output = QStringLiteral("stale");
    EXPECT_FALSE(platform::ExecuteExternalExe(path(QStringLiteral("missing")), {}, output));
    EXPECT_EQ(output, QString());
    QFile plain(path(QStringLiteral("remo")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_FALSE(platform::StartDetached(path(QStringLiteral("remo"))));
    EXPECT_FALSE(platform::StartDetached(path(QStringLiteral("missing"))));
}

TEST_F(ProcessesTest, StartDetachedRunsTheProgramInTheGivenFolder) {
    const QString script = path(QStringLiteral("update"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\npwd > started\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("work"))));
    ASSERT_TRUE(platform::StartDetached(script, {}, path(QStringLiteral("work"))));
    const QString started = path(QStringLiteral("work/started"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(started).size() > 0; }, 5000));
    QFile result(started);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(QFileInfo(QString::fromLocal8Bit(result.readAll().trimmed())).canonicalFilePath(),
              QFileInfo(path(QStringLiteral("work"))).canonicalFilePath());
}

} // namespace
