#pragma once

#include <QString>

class TSQLiteDatabase;

// Creates the missing tables and indexes of the database at FileName in one
// transaction. True when the whole step committed; on any failure nothing of
// it remains and the result is false.
bool AutoCreateTable(const QString& FileName);

// Local steps of AutoCreateTable, exposed for tests.
void CreateTableIfNotExists(TSQLiteDatabase& db, const QString& name, const QString& statement);
void CreateIndexIfNotExists(TSQLiteDatabase& db, const QString& index, const QString& table,
                            const QString& column);
