#include "store/dbcheck.h"

#include <QFile>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kMagic[] = "SQLite format 3"; // followed by its terminating NUL in the file

TDbFileCheck result(TDbFileState state, const QString& detail = QString()) {
    return TDbFileCheck{state, detail};
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The first bytes of the file, read without SQLite.
TDbFileCheck checkHeader(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return result(TDbFileState::NoAccess, systemError(errno));
    char header[sizeof kMagic] = {};
    ssize_t n = 0;
    do {
        n = ::pread(fd, header, sizeof header, 0);
    } while (n < 0 && errno == EINTR);
    const int readError = errno;
    ::close(fd);
    if (n < 0)
        return result(TDbFileState::Damaged, systemError(readError));
    if (size_t(n) < sizeof header || std::memcmp(header, kMagic, sizeof kMagic) != 0)
        return result(TDbFileState::NotADatabase);
    return result(TDbFileState::Usable);
}

struct TCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct TFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};

TDbFileState stateOf(int extendedCode) {
    switch (extendedCode) {
    // A journal or log left by a crash that the first writing connection
    // replays; a busy file is another program's transaction. Neither is damage.
    case SQLITE_READONLY_ROLLBACK:
    case SQLITE_READONLY_RECOVERY:
    case SQLITE_READONLY_CANTINIT:
        return TDbFileState::Usable;
    }
    switch (extendedCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return TDbFileState::Usable;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return TDbFileState::NoAccess;
    default:
        return TDbFileState::Damaged;
    }
}

// Parses the schema and walks its table: cheap whatever the number of rows.
TDbFileCheck checkSchema(const QByteArray& path) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, TCloser> db(raw);
    if (rc != SQLITE_OK)
        return result(stateOf(rc), db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QString());
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_stmt* rawStmt = nullptr;
    int step =
        sqlite3_prepare_v2(db.get(), "SELECT count(*) FROM sqlite_master", -1, &rawStmt, nullptr);
    const std::unique_ptr<sqlite3_stmt, TFinalizer> stmt(rawStmt);
    if (step == SQLITE_OK)
        step = sqlite3_step(stmt.get());
    if (step == SQLITE_ROW || step == SQLITE_DONE)
        return result(TDbFileState::Usable);
    return result(stateOf(sqlite3_extended_errcode(db.get())),
                  QString::fromUtf8(sqlite3_errmsg(db.get())));
}

} // namespace

TDbFileCheck CheckDatabaseFile(const QString& FileName) {
    const QByteArray path = QFile::encodeName(FileName);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        if (errno == ENOENT)
            return result(TDbFileState::New);
        return result(TDbFileState::NoAccess, systemError(errno));
    }
    if (!S_ISREG(st.st_mode))
        return result(TDbFileState::NotAFile);
    if (st.st_size == 0)
        return result(TDbFileState::New);
    const TDbFileCheck header = checkHeader(path);
    if (header.State != TDbFileState::Usable)
        return header;
    return checkSchema(path);
}

QString UnreadableDatabaseMessage(const QString& FileName, const TDbFileCheck& Check) {
    QString why;
    switch (Check.State) {
    case TDbFileState::New:
    case TDbFileState::Usable:
        return QString();
    case TDbFileState::NotAFile:
        why = QStringLiteral("该路径不是文件，请将其移走后重新启动程序");
        break;
    case TDbFileState::NoAccess:
        why = QStringLiteral("没有读取该文件的权限，请设置访问权限后重新启动程序");
        break;
    case TDbFileState::NotADatabase:
        why =
            QStringLiteral("该文件不是数据库文件，请将其移走或换回原来的数据库文件后重新启动程序");
        break;
    case TDbFileState::Damaged:
        why = QStringLiteral("该文件已损坏，请用备份的数据库文件替换它后重新启动程序");
        break;
    }
    return QStringLiteral("数据库文件无法读取：") + FileName + QLatin1Char('\n') + why;
}
