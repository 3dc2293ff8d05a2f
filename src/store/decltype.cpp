#include "store/decltype.h"

#include <sqlite3.h>

#include <QList>

#include <cstring>

namespace {

bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           (static_cast<unsigned char>(c) >= 0x80);
}

// Splits the column list of a CREATE TABLE statement at its top-level commas,
// skipping quoted names, string literals and comments.
QList<QByteArray> columnDefinitions(const QByteArray& sql) {
    QList<QByteArray> defs;
    const qsizetype open = sql.indexOf('(');
    if (open < 0)
        return defs;
    int depth = 1;
    QByteArray current;
    for (qsizetype i = open + 1; i < sql.size() && depth > 0; ++i) {
        const char c = sql.at(i);
        const char close = c == '[' ? ']' : (c == '"' || c == '`' || c == '\'') ? c : 0;
        if (close) {
            const qsizetype end = sql.indexOf(close, i + 1);
            const qsizetype stop = end < 0 ? sql.size() - 1 : end;
            current += sql.mid(i, stop - i + 1);
            i = stop;
            continue;
        }
        if (c == '-' && i + 1 < sql.size() && sql.at(i + 1) == '-') {
            const qsizetype nl = sql.indexOf('\n', i);
            i = nl < 0 ? sql.size() : nl;
            current += ' ';
            continue;
        }
        if (c == '/' && i + 1 < sql.size() && sql.at(i + 1) == '*') {
            const qsizetype end = sql.indexOf("*/", i + 2);
            i = end < 0 ? sql.size() : end + 1;
            current += ' ';
            continue;
        }
        if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0)
            break;
        if (c == ',' && depth == 1) {
            defs << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        defs << current.trimmed();
    return defs;
}

} // namespace

QHash<QString, QByteArray> ParseDeclaredTypes(const QByteArray& createStatement) {
    static const char* const constraints[] = {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK",
                                              "FOREIGN"};
    QHash<QString, QByteArray> types;
    for (const QByteArray& def : columnDefinitions(createStatement)) {
        if (def.isEmpty())
            continue;
        qsizetype i = 0;
        QByteArray name;
        const char first = def.at(0);
        const char close = first == '['                                      ? ']'
                           : (first == '"' || first == '`' || first == '\'') ? first
                                                                             : 0;
        if (close) {
            const qsizetype end = def.indexOf(close, 1);
            if (end < 0)
                continue;
            name = def.mid(1, end - 1);
            i = end + 1;
        } else {
            while (i < def.size() && isWordChar(def.at(i)))
                ++i;
            name = def.left(i);
            bool isConstraint = false;
            for (const char* word : constraints)
                isConstraint = isConstraint || name.compare(word, Qt::CaseInsensitive) == 0;
            if (isConstraint)
                continue;
        }
        while (i < def.size() && !isWordChar(def.at(i)) && def.at(i) != '(')
            ++i;
        const qsizetype start = i;
        while (i < def.size() && isWordChar(def.at(i)))
            ++i;
        types.insert(QString::fromUtf8(name).toLower(), def.mid(start, i - start));
    }
    return types;
}

namespace {

int schemaVersion(sqlite3* db, const QString& schema) {
    QByteArray sql = "PRAGMA \"";
    sql += schema.toUtf8().replace('"', "\"\"");
    sql += "\".schema_version";
    sqlite3_stmt* stmt = nullptr;
    int version = -1;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return version;
}

} // namespace

// Drops the cached tables of a schema another connection (or this one) changed.
void TDeclTypeCache::revalidate(sqlite3* db, const QString& schemaKey) {
    if (m_checked.contains(schemaKey))
        return;
    m_checked.insert(schemaKey);
    const int version = schemaVersion(db, schemaKey);
    if (m_versions.value(schemaKey, -2) == version)
        return;
    m_versions.insert(schemaKey, version);
    for (auto it = m_tables.begin(); it != m_tables.end();) {
        if (it.key().startsWith(schemaKey + QLatin1Char('.')))
            it = m_tables.erase(it);
        else
            ++it;
    }
}

const QHash<QString, QByteArray>& TDeclTypeCache::tableTypes(sqlite3* db, const char* schema,
                                                             const char* table) {
    const QString schemaKey = QString::fromUtf8(schema).toLower();
    revalidate(db, schemaKey);
    const QString key = schemaKey + QLatin1Char('.') + QString::fromUtf8(table).toLower();
    auto found = m_tables.find(key);
    if (found != m_tables.end())
        return found.value();

    const char* master = std::strcmp(schema, "temp") == 0 ? "sqlite_temp_master" : "sqlite_master";
    QByteArray sql = "SELECT sql FROM \"";
    sql += QByteArray(schema).replace('"', "\"\"");
    sql += "\".";
    sql += master;
    sql += " WHERE type='table' AND lower(name)=lower(?1)";
    sqlite3_stmt* stmt = nullptr;
    QHash<QString, QByteArray> types;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, table, -1, SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            if (text)
                types = ParseDeclaredTypes(QByteArray(text));
        }
    }
    sqlite3_finalize(stmt);
    return m_tables.insert(key, types).value();
}

QList<QByteArray> TDeclTypeCache::DeclaredTypes(sqlite3* db, sqlite3_stmt* stmt) {
    static const char* const folded[] = {"INT", "INTEGER", "REAL", "TEXT", "BLOB", "ANY"};
    m_checked.clear();
    QList<QByteArray> types;
    const int cols = sqlite3_column_count(stmt);
    for (int col = 0; col < cols; ++col) {
        const char* decl = sqlite3_column_decltype(stmt, col);
        if (!decl) {
            types << QByteArray();
            continue;
        }
        bool wasFolded = false;
        for (const char* word : folded)
            wasFolded = wasFolded || std::strcmp(decl, word) == 0;
        const char* schema = sqlite3_column_database_name(stmt, col);
        const char* table = sqlite3_column_table_name(stmt, col);
        const char* column = sqlite3_column_origin_name(stmt, col);
        QByteArray type(decl);
        if (wasFolded && schema && table && column) {
            const QByteArray written =
                tableTypes(db, schema, table).value(QString::fromUtf8(column).toLower());
            // Only trust the statement text when it names the same type.
            if (written.compare(decl, Qt::CaseInsensitive) == 0)
                type = written;
        }
        types << type;
    }
    return types;
}
