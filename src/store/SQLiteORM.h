#pragma once

// Query builder bound to one table of one connection. Condition and order
// fragments are caller-written SQL inserted as they are; only values passed in a
// TValueDict or to SetField become quoted literals. Every statement failure is
// caught and turned into a neutral result; LastFailed()/LastError() tell why.

#include "store/sqlitedb.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <cstdint>
#include <functional>
#include <memory>

// Column name -> value of an insert or update.
using TValueDict = QMap<QString, QVariant>;

class TSQLiteORM;

using TPageDataEvent =
    std::function<void(TSQLiteORM* Sender, const QString& SQL, QList<void*>& DataList)>;
using TGetTotalCountEvent = std::function<int32_t(TSQLiteORM* Sender, const QString& Where)>;
using TUpdateUIEvent = std::function<void(TSQLiteORM* Sender, int32_t TotalRecords,
                                          int32_t CurrentPage, int32_t TotalPages)>;

// Handle returned by Where so calls chain; it keeps no state of its own and
// forwards everything to its builder.
class TWhereCondition {
public:
    TWhereCondition& Where(const QString& ACondition);
    TWhereCondition& Where(const QString& ACondition, const QVariantList& AParams);
    std::unique_ptr<TSQLiteTable> Find();
    std::unique_ptr<TSQLiteTable> First();
    std::unique_ptr<TSQLiteTable> Select();
    TSQLiteORM& Order(const QString& AOrderBy);
    TWhereCondition& SetField(const QString& AFieldName, const QVariant& AValue);
    TWhereCondition& SetInc(const QString& AFieldName, int32_t AIncrement);
    bool Delete();
    bool Save(const TValueDict& AData);
    bool Add(const TValueDict& AData);
    bool Add(const TValueDict& AData, int32_t& InsertID);
    int64_t AddAndGetID(const TValueDict& AData);
    int32_t Count();
    int32_t Count(const QString& AFieldName);
    QVariant Max(const QString& AFieldName);
    QVariant Min(const QString& AFieldName);
    QVariant Sum(const QString& AFieldName);
    TSQLiteORM& Page(int32_t APerPage);
    std::unique_ptr<TSQLiteTable> GoToPage(int32_t APageNum);
    std::unique_ptr<TSQLiteTable> NextPage();
    std::unique_ptr<TSQLiteTable> PrevPage();
    std::unique_ptr<TSQLiteTable> FirstPage();
    std::unique_ptr<TSQLiteTable> LastPage();

    const QString& Condition() const { return FCondition; }

private:
    friend class TSQLiteORM;
    explicit TWhereCondition(TSQLiteORM* orm) : FORM(orm) {}

    TSQLiteORM* FORM;
    QString FCondition;
};

class TSQLiteORM {
public:
    TSQLiteORM(TSQLiteDatabase* ADatabase, const QString& ATableName);
    virtual ~TSQLiteORM() = default;
    TSQLiteORM(const TSQLiteORM&) = delete;
    TSQLiteORM& operator=(const TSQLiteORM&) = delete;

    // Clauses. Condition and order stay in force until replaced.
    TWhereCondition& Where(const QString& ACondition);
    // %s takes a value's text unchanged, %d a decimal integer; nothing is quoted.
    // Arguments that do not fit the format throw std::invalid_argument.
    TWhereCondition& Where(const QString& ACondition, const QVariantList& AParams);
    TSQLiteORM& Order(const QString& AOrderBy);
    QString BuildWhereClause() const;
    QString BuildOrderClause() const;
    QString GetLimitClause() const;
    int64_t GetOffset() const;

    // Reads: a result owned by the caller, or nullptr when the statement failed.
    std::unique_ptr<TSQLiteTable> First();
    std::unique_ptr<TSQLiteTable> Find();
    std::unique_ptr<TSQLiteTable> Select();

    // Writes.
    bool Add(const TValueDict& AData);
    bool Add(const TValueDict& AData, int32_t& InsertID);
    int64_t AddAndGetID(const TValueDict& AData);
    // False, with LastNoRow(), when the statement ran but no row matched.
    bool Save(const TValueDict& AData);
    // Bulk updates: matching no row is no failure here (see Changes() of the connection).
    TSQLiteORM& SetField(const QString& AFieldName, const QVariant& AValue);
    TSQLiteORM& SetInc(const QString& AFieldName, int32_t AIncrement);
    bool Delete();

    // Aggregates.
    int32_t Count();
    int32_t Count(const QString& AFieldName);
    QVariant Max(const QString& AFieldName);
    QVariant Min(const QString& AFieldName);
    QVariant Sum(const QString& AFieldName);

    // Paging.
    TSQLiteORM& Page(int32_t APerPage);
    std::unique_ptr<TSQLiteTable> LoadPage();
    std::unique_ptr<TSQLiteTable> GoToPage(int32_t APageNum);
    std::unique_ptr<TSQLiteTable> NextPage();
    std::unique_ptr<TSQLiteTable> PrevPage();
    std::unique_ptr<TSQLiteTable> FirstPage();
    std::unique_ptr<TSQLiteTable> LastPage();
    bool CanPrevPage() const;
    bool CanNextPage() const;
    QString GetPageInfo() const;
    void SetSearchCondition(const QString& AWhereClause);
    void SetBaseSQL(const QString& ASQL) { FBaseSQL = ASQL; }
    void SetCountSQL(const QString& ASQL) { FCountSQL = ASQL; }
    void SetPerPage(int32_t value);
    void SetCurrentPage(int32_t value);
    void CalculateTotalPages();

    // Field readers on the current row of a result; neutral values on any failure.
    static QString GetFieldAsString(const TSQLiteTable* ATable, const QString& AFieldName);
    static int32_t GetFieldAsInteger(const TSQLiteTable* ATable, const QString& AFieldName);
    static double GetFieldAsDouble(const TSQLiteTable* ATable, const QString& AFieldName);
    static bool GetFieldAsBoolean(const TSQLiteTable* ATable, const QString& AFieldName);
    static QVariant GetFieldValue(const TSQLiteTable* ATable, const QString& AFieldName);

    // The SQL literal of a value: quoted text with quotes doubled, 1/0, digits,
    // general-format numbers, quoted date-times, and "" for null (which then fails).
    static QString ValueToSQL(const QVariant& value);

    const QString& LastSQL() const { return FLastSQL; }
    // Whether the last operation's statement failed, or a write was refused
    // because it had no condition or no values, or a Save changed no row.
    bool LastFailed() const { return FLastFailed; }
    // Whether the last operation was a Save whose statement ran but matched no
    // row; LastFailed() is then true as well.
    bool LastNoRow() const { return FLastNoRow; }
    const QString& LastError() const { return FLastError; }

    const QString& TableName() const { return FTableName; }
    const QString& WhereCondition() const { return FWhereCondition; }
    const QString& OrderBy() const { return FOrderBy; }
    int32_t PerPage() const { return FPerPage; }
    int32_t CurrentPage() const { return FCurrentPage; }
    int32_t TotalRecords() const { return FTotalRecords; }
    int32_t TotalPages() const { return FTotalPages; }
    QList<void*>& DataList() { return FDataList; }

    void SetOnLoadData(TPageDataEvent e) { FOnLoadData = std::move(e); }
    void SetOnGetTotalCount(TGetTotalCountEvent e) { FOnGetTotalCount = std::move(e); }
    void SetOnUpdateUI(TUpdateUIEvent e) { FOnUpdateUI = std::move(e); }

private:
    bool exec(const QString& sql);
    std::unique_ptr<TSQLiteTable> query(const QString& sql);
    std::unique_ptr<TSQLiteTable> aggregate(const QString& sql);
    QString aggregateSQL(const QString& func, const QString& AFieldName) const;
    int32_t countOf(const QString& sql);
    bool refuse(const QString& why);
    QString insertSQL(const TValueDict& AData) const;

    TSQLiteDatabase* FDatabase;
    QString FTableName;
    QString FWhereCondition;
    QString FOrderBy;
    QString FLastSQL;
    int32_t FPerPage = 20;
    int32_t FCurrentPage = 0;
    int32_t FTotalRecords = 0;
    int32_t FTotalPages = 0;
    QString FBaseSQL;
    QString FCountSQL;
    TPageDataEvent FOnLoadData;
    TGetTotalCountEvent FOnGetTotalCount;
    TUpdateUIEvent FOnUpdateUI;
    QList<void*> FDataList;
    TWhereCondition FHandle{this};
    bool FLastFailed = false;
    bool FLastNoRow = false;
    QString FLastError;
};

// The one way back from a swallowed failure: raises E (constructible from a
// QString) with prefix followed by the builder's error when its last
// operation failed or was refused.
template <typename E = ESQLiteException>
void RaiseIfFailed(const TSQLiteORM& orm, const QString& prefix = QString()) {
    if (orm.LastFailed())
        throw E(prefix + orm.LastError());
}
