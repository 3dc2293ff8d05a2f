#pragma once

// A folder with its own schema-complete database, its path fixed as the
// program's, a connection to it and the recording messenger installed.

#include "common/messages.h"
#include "store/sqlitedb.h"

#include "tempfolder.h"

#include <QString>

#include <memory>

class MasterDataTest : public TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void exec(const QString& sql);
    // First column of the first row as text, "<none>" without a row.
    QString scalar(const QString& sql);
    int addDish(const QString& title, double price = 10, int sort = 0, int cid = 0,
                int deleted = 0);
    int addCategory(const QString& title, int sort = 0);

    TRecordingMessenger messages;
    std::unique_ptr<TSQLiteDatabase> db;
};
