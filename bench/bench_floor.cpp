// Floor view: (a) rebuilding the tile area of 200 tables, (b) a start of the
// program until the floor is first painted (100 tables, 300 dishes, no update
// service), measured on the bench-only program floor_first_paint. Database on
// disk; windows on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "common/appvalues.h"
#include "floor/view/form_main.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// A working folder with the schema, n tables in three areas and m dishes.
void fillDatabase(const QString& file, int tables, int dishes) {
    if (!AutoCreateTable(file))
        throw std::runtime_error("schema");
    TSQLiteDatabase db(file);
    db.BeginTransaction();
    for (int a = 1; a <= 3; ++a)
        db.ExecSQL(
            QStringLiteral("INSERT INTO zel_desk_class (title, sort) VALUES ('区%1', %1)").arg(a));
    for (int i = 1; i <= tables; ++i)
        db.ExecSQL(QStringLiteral("INSERT INTO zel_desk (title, bh, cid, sort, nums, price, stat) "
                                  "VALUES ('桌位%1', '%1', %2, %1, %3, %4, %5)")
                       .arg(i)
                       .arg(i % 3 + 1)
                       .arg(i % 7)
                       .arg(i * 1.25)
                       .arg(i % 3));
    for (int i = 1; i <= dishes; ++i)
        db.ExecSQL(QStringLiteral("INSERT INTO zel_caipin (title, price, cid, sort) "
                                  "VALUES ('菜品%1', %2, %3, %1)")
                       .arg(i)
                       .arg(10 + i % 50)
                       .arg(i % 5 + 1));
    db.Commit();
}

void BM_LoadDesksByCategory(benchmark::State& state) {
    QTemporaryDir dir;
    sqlitename = dir.path() + QStringLiteral("/zeltora.db");
    fillDatabase(sqlitename, int(state.range(0)), 0);
    Tform_main window;
    window.CreateCategoryPanel();
    window.LoadDesksByCategory(0);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window.LoadDesksByCategory(0);
        state.PauseTiming();
        QCoreApplication::processEvents(); // paint, outside the measured call
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadDesksByCategory)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// One process start of floor_first_paint, timed until it reports the first paint.
double startToFirstPaint(const QByteArray& program, const QByteArray& folder) {
    int fds[2];
    if (::pipe(fds) != 0)
        throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(folder.constData()),
                    nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ) != 0)
        throw std::runtime_error("spawn");
    ::close(fds[1]);
    char line[64] = {};
    const ssize_t n = ::read(fds[0], line, sizeof line - 1);
    const auto painted = std::chrono::steady_clock::now();
    ::close(fds[0]);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (n <= 0 || QByteArray(line).trimmed() != "painted")
        throw std::runtime_error("the program did not report a first paint");
    return std::chrono::duration<double>(painted - start).count();
}

void BM_StartToFirstPaint(benchmark::State& state) {
    QTemporaryDir dir;
    fillDatabase(dir.path() + QStringLiteral("/zeltora.db"), 100, 300);
    QFile marker(dir.path() + QStringLiteral("/zeltora")); // the program file start-up expects
    marker.open(QIODevice::WriteOnly);
    marker.close();
    const QByteArray program = QFile::encodeName(QCoreApplication::applicationDirPath() +
                                                 QStringLiteral("/floor_first_paint"));
    const QByteArray folder = QFile::encodeName(dir.path());
    for (auto _ : state) {
        try {
            state.SetIterationTime(startToFirstPaint(program, folder));
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}
BENCHMARK(BM_StartToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true);

} // namespace
