#pragma once

// SQLite (3.37 and later) reports a column declared "integer", "real", "text",
// "blob", "int" or "any" with its type in upper case, whatever the statement
// said. The result typing depends on the case as written ("integer" reads as
// text, "INTEGER" as an integer), so the original spelling is read back from
// the table's CREATE statement.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// Column name (lower case) -> first word of its declared type as written.
// Table constraints (PRIMARY KEY(...), UNIQUE, CHECK, FOREIGN KEY, CONSTRAINT) are skipped.
QHash<QString, QByteArray> ParseDeclaredTypes(const QByteArray& createStatement);

// Per-connection cache of declared types, refreshed when the schema changes.
class TDeclTypeCache {
public:
    // The declared type of every result column of stmt as it was written; the
    // library's text when it was not folded or the origin is unknown, a null
    // array for a column without a declared type (an expression).
    QList<QByteArray> DeclaredTypes(sqlite3* db, sqlite3_stmt* stmt);

private:
    const QHash<QString, QByteArray>& tableTypes(sqlite3* db, const char* schema,
                                                 const char* table);
    void revalidate(sqlite3* db, const QString& schema);

    QSet<QString> m_checked;        // schemas whose version was checked for this result
    QHash<QString, int> m_versions; // schema name -> schema_version of the cached entries
    QHash<QString, QHash<QString, QByteArray>> m_tables; // "schema.table" lower case
};
