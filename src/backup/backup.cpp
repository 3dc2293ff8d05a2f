#include "backup/backup.h"

#include "store/backupwait.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
const QString kPartSuffix = QStringLiteral(".part");

// Every database this program made holds them: the schema step runs at every start.
const char* const kTables[] = {
    "zel_admin",  "zel_member", "zel_orders_detail", "zel_desk",         "zel_desk_class",
    "zel_orders", "zel_caipin", "zel_caipin_sku",    "zel_caipin_class", "zel_cart"};

struct TCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using TDbPtr = std::unique_ptr<sqlite3, TCloser>;
struct TFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using TStmtPtr = std::unique_ptr<sqlite3_stmt, TFinalizer>;

QString errorOf(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("内存不足");
}

TDbPtr openDb(const QString& file, int flags, QString* error) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &raw, flags, nullptr);
    TDbPtr db(raw);
    if (rc != SQLITE_OK) {
        if (error)
            *error = errorOf(db.get());
        return nullptr;
    }
    return db;
}

const QRegularExpression& copyName() {
    static const QRegularExpression re(
        QStringLiteral("^zeltora-(\\d{8}-\\d{6})(?:-(\\d+))?\\.db$"));
    return re;
}

bool syncFile(const QString& file) {
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// A rename is durable only once its folder is written.
void syncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString folderOf(const QString& file) {
    return QFileInfo(file).absolutePath();
}

void renameOver(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw EBackupError(QStringLiteral("无法改名为 %1：%2")
                               .arg(to, QString::fromLocal8Bit(std::strerror(errno))));
    syncFolder(folderOf(to));
}

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A name of its own even when two copies are taken within one second.
QString freshName(const QString& folder, const QDateTime& when) {
    const QString base = QStringLiteral("zeltora-") + when.toString(kStampFormat);
    QString name = base + QStringLiteral(".db");
    for (int n = 2;
         QFileInfo::exists(folder + name) || QFileInfo::exists(folder + name + kPartSuffix); ++n)
        name = base + QStringLiteral("-%1.db").arg(n);
    return folder + name;
}

// Empty when the integrity check of file says "ok".
QString integrityProblem(sqlite3* db) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check(1)", -1, &raw, nullptr);
    const TStmtPtr stmt(raw);
    if (rc != SQLITE_OK)
        return errorOf(db);
    rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_ROW)
        return errorOf(db);
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
    const QString first = QString::fromUtf8(text ? text : "");
    return first == QStringLiteral("ok") ? QString() : first;
}

QString integrityProblem(const QString& file) {
    QString error;
    const TDbPtr db = openDb(file, SQLITE_OPEN_READONLY, &error);
    if (!db)
        return error;
    return integrityProblem(db.get());
}

// Copies all pages of src into dst in steps; throws on failure.
void copyPages(sqlite3* src, sqlite3* dst, const TBackupOptions& options) {
    sqlite3_backup* backup = sqlite3_backup_init(dst, "main", src, "main");
    if (!backup)
        throw EBackupError(errorOf(dst));
    int lastDone = -1;
    int restarts = 0;
    int rc = SQLITE_OK;
    const int pages = std::max(1, options.PagesPerStep);
    for (;;) {
        rc = sqlite3_backup_step(backup, pages);
        const int total = sqlite3_backup_pagecount(backup);
        const int done = total - sqlite3_backup_remaining(backup);
        // Another connection committed: the copy starts over from its first page.
        if (done < lastDone && ++restarts > options.MaxRestarts)
            break;
        lastDone = done;
        if (options.Progress)
            options.Progress(done, total);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_OK && rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        if (options.PauseMs > 0)
            sqlite3_sleep(options.PauseMs);
    }
    sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE)
        return;
    if (restarts > options.MaxRestarts)
        throw EBackupError(QStringLiteral("数据一直在写入，备份未能完成，请稍后再试"));
    throw EBackupError(QString::fromUtf8(sqlite3_errstr(rc)));
}

} // namespace

EBackupError::EBackupError(const QString& message)
    : std::runtime_error(message.toUtf8().toStdString()) {}

QString BackupFolderName() {
    return QStringLiteral("backup/");
}

QList<TBackupCopy> ListBackups(const QString& folder) {
    struct TEntry {
        TBackupCopy copy;
        int n;
    };
    std::vector<TEntry> entries;
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("zeltora-*.db")}, QDir::Files)) {
        const auto match = copyName().match(info.fileName());
        if (!match.hasMatch())
            continue;
        QDateTime taken = QDateTime::fromString(match.captured(1), kStampFormat);
        if (!taken.isValid())
            continue;
        entries.push_back({TBackupCopy{info.absoluteFilePath(), taken, info.size()},
                           match.captured(2).isEmpty() ? 1 : match.captured(2).toInt()});
    }
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
        if (a.copy.Taken != b.copy.Taken)
            return a.copy.Taken > b.copy.Taken;
        return a.n > b.n;
    });
    QList<TBackupCopy> copies;
    for (const TEntry& e : entries)
        copies.append(e.copy);
    return copies;
}

bool HasBackupOf(const QString& folder, const QDate& day) {
    const auto copies = ListBackups(folder);
    return std::any_of(copies.begin(), copies.end(),
                       [&](const TBackupCopy& c) { return c.Taken.date() == day; });
}

QString BackupDatabase(const QString& source, const QString& folder, const QDateTime& when,
                       const TBackupOptions& options) {
    TBackupRunning running;
    const QString target = withSlash(folder);
    if (!QDir().mkpath(target))
        throw EBackupError(QStringLiteral("无法创建备份目录：") + target);
    const QString copy = freshName(target, when);
    const QString part = copy + kPartSuffix;
    try {
        {
            QString error;
            // Read-only: a backup never writes to the till's file, nor replays its journal.
            const TDbPtr src = openDb(source, SQLITE_OPEN_READONLY, &error);
            if (!src)
                throw EBackupError(QStringLiteral("无法打开数据库：") + error);
            const TDbPtr dst = openDb(part, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &error);
            if (!dst)
                throw EBackupError(QStringLiteral("无法写入备份文件：") + error);
            copyPages(src.get(), dst.get(), options);
        }
        const QString problem = integrityProblem(part);
        if (!problem.isEmpty())
            throw EBackupError(QStringLiteral("备份校验未通过：") + problem);
        if (!syncFile(part))
            throw EBackupError(QStringLiteral("备份文件无法写入磁盘"));
        renameOver(part, copy);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    return copy;
}

QString CopyBackupTo(const QString& copy, const QString& folder) {
    const QString target = withSlash(folder) + QFileInfo(copy).fileName();
    const QString part = target + kPartSuffix;
    QFile::remove(part);
    QFile in(copy);
    QFile out(part);
    if (!in.open(QIODevice::ReadOnly))
        throw EBackupError(in.errorString());
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EBackupError(out.errorString());
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (out.write(chunk) != chunk.size()) {
            const QString error = out.errorString();
            out.close();
            QFile::remove(part);
            throw EBackupError(error);
        }
    }
    out.close();
    if (in.error() != QFile::NoError || out.error() != QFile::NoError || !syncFile(part)) {
        QFile::remove(part);
        throw EBackupError(QStringLiteral("复制未完成"));
    }
    try {
        renameOver(part, target);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    return target;
}

int RemoveOldBackups(const QString& folder, int keep) {
    const auto copies = ListBackups(folder);
    int removed = 0;
    for (int i = std::max(keep, 0); i < copies.size(); ++i)
        if (QFile::remove(copies.at(i).Path))
            ++removed;
    // What a copy cut off by a crash or a power cut left behind. A copy still
    // being written (another till on a shared folder) is touched all the time.
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-3600);
    const QStringList leftovers = {QStringLiteral("zeltora-*.db") + kPartSuffix,
                                   QStringLiteral("zeltora-*.db") + kPartSuffix +
                                       QStringLiteral("-journal")};
    for (const QFileInfo& info : QDir(folder).entryInfoList(leftovers, QDir::Files))
        if (info.lastModified() < stale)
            QFile::remove(info.absoluteFilePath());
    return removed;
}

QString CheckCopy(const QString& file) {
    if (!QFileInfo(file).isFile())
        return QStringLiteral("备份文件不存在");
    QString error;
    const TDbPtr db = openDb(file, SQLITE_OPEN_READONLY, &error);
    if (!db)
        return QStringLiteral("无法打开：") + error;
    if (sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        return QStringLiteral("无法打开：") + errorOf(db.get());
    const QString problem = integrityProblem(db.get());
    if (!problem.isEmpty())
        return QStringLiteral("完整性检查未通过：") + problem;
    for (const char* table : kTables) {
        sqlite3_stmt* raw = nullptr;
        sqlite3_prepare_v2(db.get(), "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1",
                           -1, &raw, nullptr);
        const TStmtPtr stmt(raw);
        sqlite3_bind_text(stmt.get(), 1, table, -1, SQLITE_STATIC);
        if (sqlite3_step(stmt.get()) != SQLITE_ROW)
            return QStringLiteral("缺少数据表 ") + QString::fromLatin1(table);
    }
    return QString();
}

qint64 CountOrders(const QString& file) {
    const TDbPtr db = openDb(file, SQLITE_OPEN_READONLY, nullptr);
    if (!db)
        return -1;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), "SELECT count(*) FROM zel_orders", -1, &raw, nullptr) !=
        SQLITE_OK)
        return -1;
    const TStmtPtr stmt(raw);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW)
        return -1;
    return sqlite3_column_int64(stmt.get(), 0);
}

QString PendingRestoreName(const QString& dbFile) {
    return dbFile + QStringLiteral(".restore");
}

bool RestorePending(const QString& dbFile) {
    return QFileInfo::exists(PendingRestoreName(dbFile));
}

void PrepareRestore(const QString& copy, const QString& dbFile) {
    const QString problem = CheckCopy(copy);
    if (!problem.isEmpty())
        throw EBackupError(problem);
    const QString pending = PendingRestoreName(dbFile);
    const QString part = pending + kPartSuffix;
    QFile::remove(part);
    if (!QFile::copy(copy, part) || !syncFile(part)) {
        QFile::remove(part);
        throw EBackupError(QStringLiteral("无法写入 ") + part);
    }
    // What reached the disk is checked, not what was read.
    const QString written = CheckCopy(part);
    if (!written.isEmpty()) {
        QFile::remove(part);
        throw EBackupError(written);
    }
    try {
        renameOver(part, pending);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
}

bool ApplyPendingRestore(const QString& dbFile) {
    const QString pending = PendingRestoreName(dbFile);
    if (!QFileInfo::exists(pending))
        return false;
    // A journal of the old file would be played back into the restored one.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QString side = dbFile + QString::fromLatin1(suffix);
        if (QFileInfo::exists(side) && !QFile::remove(side))
            throw EBackupError(QStringLiteral("无法删除 ") + side);
    }
    renameOver(pending, dbFile);
    return true;
}

QString SetDamagedAside(const QString& dbFile, const QString& folder, const QDateTime& when) {
    const QString target = withSlash(folder);
    if (!QDir().mkpath(target))
        throw EBackupError(QStringLiteral("无法创建备份目录：") + target);
    QString aside = target + QStringLiteral("damaged-") + when.toString(kStampFormat);
    for (int n = 2; QFileInfo::exists(aside + QStringLiteral(".db")); ++n)
        aside = target + QStringLiteral("damaged-") + when.toString(kStampFormat) +
                QStringLiteral("-%1").arg(n);
    aside += QStringLiteral(".db");
    renameOver(dbFile, aside);
    const QString journal = dbFile + QStringLiteral("-journal");
    if (QFileInfo::exists(journal))
        renameOver(journal, aside + QStringLiteral("-journal"));
    return aside;
}
