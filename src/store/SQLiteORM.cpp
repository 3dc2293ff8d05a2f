#include "store/SQLiteORM.h"

#include "store/floatformat.h"

#include <QDateTime>

#include <stdexcept>

namespace {

// printf-style filling for conditions: %s, %d and %%, nothing quoted.
QString formatCondition(const QString& format, const QVariantList& params) {
    const auto fail = [&format]() {
        throw std::invalid_argument(
            QStringLiteral("Format '%1' invalid or incompatible with argument")
                .arg(format)
                .toStdString());
    };
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (++i >= format.size())
            fail();
        const QChar spec = format.at(i);
        if (spec == QLatin1Char('%')) {
            out += spec;
            continue;
        }
        if (next >= params.size())
            fail();
        const QVariant& arg = params.at(next++);
        if (spec == QLatin1Char('s')) {
            if (!arg.canConvert<QString>())
                fail();
            out += arg.toString();
        } else if (spec == QLatin1Char('d')) {
            bool ok = false;
            const qlonglong n = arg.toLongLong(&ok);
            const int type = arg.typeId();
            const bool integral = type == QMetaType::Int || type == QMetaType::LongLong ||
                                  type == QMetaType::UInt || type == QMetaType::ULongLong ||
                                  type == QMetaType::Short || type == QMetaType::UShort ||
                                  type == QMetaType::Long || type == QMetaType::ULong;
            if (!ok || !integral)
                fail();
            out += QString::number(n);
        } else {
            fail();
        }
    }
    return out;
}

} // namespace

// ---------------------------------------------------------------------------
// TWhereCondition: every call goes to the builder.

TWhereCondition& TWhereCondition::Where(const QString& ACondition) {
    return FORM->Where(ACondition);
}
TWhereCondition& TWhereCondition::Where(const QString& ACondition, const QVariantList& AParams) {
    return FORM->Where(ACondition, AParams);
}
std::unique_ptr<TSQLiteTable> TWhereCondition::Find() {
    return FORM->Find();
}
std::unique_ptr<TSQLiteTable> TWhereCondition::First() {
    return FORM->First();
}
std::unique_ptr<TSQLiteTable> TWhereCondition::Select() {
    return FORM->Select();
}
TSQLiteORM& TWhereCondition::Order(const QString& AOrderBy) {
    return FORM->Order(AOrderBy);
}
TWhereCondition& TWhereCondition::SetField(const QString& AFieldName, const QVariant& AValue) {
    FORM->SetField(AFieldName, AValue);
    return *this;
}
TWhereCondition& TWhereCondition::SetInc(const QString& AFieldName, int32_t AIncrement) {
    FORM->SetInc(AFieldName, AIncrement);
    return *this;
}
bool TWhereCondition::Delete() {
    return FORM->Delete();
}
bool TWhereCondition::Save(const TValueDict& AData) {
    return FORM->Save(AData);
}
bool TWhereCondition::Add(const TValueDict& AData) {
    return FORM->Add(AData);
}
bool TWhereCondition::Add(const TValueDict& AData, int32_t& InsertID) {
    return FORM->Add(AData, InsertID);
}
int64_t TWhereCondition::AddAndGetID(const TValueDict& AData) {
    return FORM->AddAndGetID(AData);
}
int32_t TWhereCondition::Count() {
    return FORM->Count();
}
int32_t TWhereCondition::Count(const QString& AFieldName) {
    return FORM->Count(AFieldName);
}
QVariant TWhereCondition::Max(const QString& AFieldName) {
    return FORM->Max(AFieldName);
}
QVariant TWhereCondition::Min(const QString& AFieldName) {
    return FORM->Min(AFieldName);
}
QVariant TWhereCondition::Sum(const QString& AFieldName) {
    return FORM->Sum(AFieldName);
}
TSQLiteORM& TWhereCondition::Page(int32_t APerPage) {
    return FORM->Page(APerPage);
}
std::unique_ptr<TSQLiteTable> TWhereCondition::GoToPage(int32_t APageNum) {
    return FORM->GoToPage(APageNum);
}
std::unique_ptr<TSQLiteTable> TWhereCondition::NextPage() {
    return FORM->NextPage();
}
std::unique_ptr<TSQLiteTable> TWhereCondition::PrevPage() {
    return FORM->PrevPage();
}
std::unique_ptr<TSQLiteTable> TWhereCondition::FirstPage() {
    return FORM->FirstPage();
}
std::unique_ptr<TSQLiteTable> TWhereCondition::LastPage() {
    return FORM->LastPage();
}

// ---------------------------------------------------------------------------
// TSQLiteORM

TSQLiteORM::TSQLiteORM(TSQLiteDatabase* ADatabase, const QString& ATableName)
    : FDatabase(ADatabase), FTableName(ATableName),
      FBaseSQL(QStringLiteral("SELECT * FROM ") + ATableName) {}

TWhereCondition& TSQLiteORM::Where(const QString& ACondition) {
    FHandle.FCondition = ACondition;
    FWhereCondition = ACondition;
    return FHandle;
}

TWhereCondition& TSQLiteORM::Where(const QString& ACondition, const QVariantList& AParams) {
    return Where(formatCondition(ACondition, AParams));
}

TSQLiteORM& TSQLiteORM::Order(const QString& AOrderBy) {
    FOrderBy = AOrderBy;
    return *this;
}

QString TSQLiteORM::BuildWhereClause() const {
    return FWhereCondition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + FWhereCondition;
}

QString TSQLiteORM::BuildOrderClause() const {
    return FOrderBy.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + FOrderBy;
}

int64_t TSQLiteORM::GetOffset() const {
    return int64_t(FCurrentPage) * FPerPage;
}

QString TSQLiteORM::GetLimitClause() const {
    return QStringLiteral("LIMIT %1 OFFSET %2").arg(FPerPage).arg(GetOffset());
}

QString TSQLiteORM::ValueToSQL(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QString();
    const auto quoted = [](QString text) {
        text.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    };
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatToStrGeneral(value.toDouble());
    case QMetaType::QDateTime:
        return quoted(value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    case QMetaType::QDate:
        return quoted(value.toDate().toString(QStringLiteral("yyyy-MM-dd")) +
                      QStringLiteral(" 00:00:00"));
    case QMetaType::QByteArray:
        return quoted(QString::fromUtf8(value.toByteArray()));
    default:
        if (value.canConvert<QString>())
            return quoted(value.toString());
        return QString();
    }
}

bool TSQLiteORM::refuse(const QString& why) {
    FLastFailed = true;
    FLastNoRow = false;
    FLastError = why;
    return false;
}

bool TSQLiteORM::exec(const QString& sql) {
    FLastSQL = sql;
    try {
        FDatabase->ExecSQL(sql);
        FLastFailed = false;
        FLastNoRow = false;
        FLastError.clear();
        return true;
    } catch (const std::exception& e) {
        refuse(QString::fromUtf8(e.what()));
    } catch (...) {
        refuse(QStringLiteral("unknown error"));
    }
    return false;
}

std::unique_ptr<TSQLiteTable> TSQLiteORM::query(const QString& sql) {
    FLastSQL = sql;
    try {
        auto table = FDatabase->GetTable(sql);
        FLastFailed = false;
        FLastNoRow = false;
        FLastError.clear();
        return table;
    } catch (const std::exception& e) {
        refuse(QString::fromUtf8(e.what()));
    } catch (...) {
        refuse(QStringLiteral("unknown error"));
    }
    return nullptr;
}

// An aggregate that returned no row counts as failed: it has no value to give.
std::unique_ptr<TSQLiteTable> TSQLiteORM::aggregate(const QString& sql) {
    auto table = query(sql);
    if (table && table->RowCount() == 0) {
        refuse(QStringLiteral("no row"));
        return nullptr;
    }
    return table;
}

std::unique_ptr<TSQLiteTable> TSQLiteORM::First() {
    return query(QStringLiteral("SELECT * FROM ") + FTableName + BuildWhereClause() +
                 BuildOrderClause() + QStringLiteral(" LIMIT 1"));
}

std::unique_ptr<TSQLiteTable> TSQLiteORM::Find() {
    return First();
}

std::unique_ptr<TSQLiteTable> TSQLiteORM::Select() {
    return query(QStringLiteral("SELECT * FROM ") + FTableName + BuildWhereClause() +
                 BuildOrderClause());
}

QString TSQLiteORM::insertSQL(const TValueDict& AData) const {
    QStringList names;
    QStringList values;
    for (auto it = AData.cbegin(); it != AData.cend(); ++it) {
        names << it.key();
        values << ValueToSQL(it.value());
    }
    return QStringLiteral("INSERT INTO ") + FTableName + QStringLiteral(" (") +
           names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
           values.join(QStringLiteral(", ")) + QLatin1Char(')');
}

bool TSQLiteORM::Add(const TValueDict& AData) {
    if (AData.isEmpty())
        return refuse(QStringLiteral("no values to insert"));
    return exec(insertSQL(AData));
}

bool TSQLiteORM::Add(const TValueDict& AData, int32_t& InsertID) {
    InsertID = -1;
    if (!Add(AData))
        return false;
    InsertID = int32_t(FDatabase->GetLastInsertRowID());
    return true;
}

int64_t TSQLiteORM::AddAndGetID(const TValueDict& AData) {
    if (!Add(AData))
        return -1;
    return FDatabase->GetLastInsertRowID();
}

bool TSQLiteORM::Save(const TValueDict& AData) {
    if (FWhereCondition.isEmpty())
        return refuse(QStringLiteral("update without a condition refused"));
    if (AData.isEmpty())
        return refuse(QStringLiteral("no values to update"));
    QStringList pairs;
    for (auto it = AData.cbegin(); it != AData.cend(); ++it)
        pairs << it.key() + QStringLiteral(" = ") + ValueToSQL(it.value());
    if (!exec(QStringLiteral("UPDATE ") + FTableName + QStringLiteral(" SET ") +
              pairs.join(QStringLiteral(", ")) + BuildWhereClause()))
        return false;
    // A Save names the rows it means to change: none matching says they are gone.
    if (FDatabase->Changes() == 0) {
        refuse(QStringLiteral("no row matched: the record no longer exists"));
        FLastNoRow = true;
        return false;
    }
    return true;
}

TSQLiteORM& TSQLiteORM::SetField(const QString& AFieldName, const QVariant& AValue) {
    if (FWhereCondition.isEmpty())
        refuse(QStringLiteral("update without a condition refused"));
    else
        exec(QStringLiteral("UPDATE ") + FTableName + QStringLiteral(" SET ") + AFieldName +
             QStringLiteral(" = ") + ValueToSQL(AValue) + BuildWhereClause());
    return *this;
}

TSQLiteORM& TSQLiteORM::SetInc(const QString& AFieldName, int32_t AIncrement) {
    if (FWhereCondition.isEmpty())
        refuse(QStringLiteral("update without a condition refused"));
    else
        exec(QStringLiteral("UPDATE ") + FTableName + QStringLiteral(" SET ") + AFieldName +
             QStringLiteral(" = ") + AFieldName + QStringLiteral(" + ") +
             QString::number(AIncrement) + BuildWhereClause());
    return *this;
}

bool TSQLiteORM::Delete() {
    if (FWhereCondition.isEmpty())
        return refuse(QStringLiteral("delete without a condition refused"));
    return exec(QStringLiteral("DELETE FROM ") + FTableName + BuildWhereClause());
}

// "SELECT <func>(<field>) AS `<field>` FROM <table> <where>".
QString TSQLiteORM::aggregateSQL(const QString& func, const QString& AFieldName) const {
    return QStringLiteral("SELECT ") + func + QLatin1Char('(') + AFieldName +
           QStringLiteral(") AS `") + AFieldName + QStringLiteral("` FROM ") + FTableName +
           BuildWhereClause();
}

int32_t TSQLiteORM::countOf(const QString& sql) {
    auto table = aggregate(sql);
    if (!table)
        return 0;
    try {
        return int32_t(table->FieldAsInteger(0));
    } catch (const std::exception& e) {
        refuse(QString::fromUtf8(e.what()));
        return 0;
    }
}

int32_t TSQLiteORM::Count() {
    return countOf(QStringLiteral("SELECT COUNT(*) FROM ") + FTableName + BuildWhereClause());
}

int32_t TSQLiteORM::Count(const QString& AFieldName) {
    return countOf(aggregateSQL(QStringLiteral("COUNT"), AFieldName));
}

QVariant TSQLiteORM::Max(const QString& AFieldName) {
    auto table = aggregate(aggregateSQL(QStringLiteral("MAX"), AFieldName));
    return table ? GetFieldValue(table.get(), AFieldName) : QVariant();
}

QVariant TSQLiteORM::Min(const QString& AFieldName) {
    auto table = aggregate(aggregateSQL(QStringLiteral("MIN"), AFieldName));
    return table ? GetFieldValue(table.get(), AFieldName) : QVariant();
}

QVariant TSQLiteORM::Sum(const QString& AFieldName) {
    QString name = AFieldName;
    name.remove(QLatin1Char('`')).remove(QLatin1Char(';'));
    auto table =
        aggregate(QStringLiteral("SELECT SUM(`") + name + QStringLiteral("`) AS total_sum FROM ") +
                  FTableName + BuildWhereClause());
    if (!table)
        return QVariant(0);
    try {
        const int index = table->FieldIndex(QStringLiteral("total_sum"));
        if (table->FieldIsNull(index))
            return QVariant(0);
        return QVariant(table->FieldAsDouble(index));
    } catch (const std::exception& e) {
        refuse(QString::fromUtf8(e.what()));
        return QVariant(0);
    }
}

// ---------------------------------------------------------------------------
// Paging

TSQLiteORM& TSQLiteORM::Page(int32_t APerPage) {
    FPerPage = APerPage;
    FCurrentPage = 0;
    return *this;
}

void TSQLiteORM::CalculateTotalPages() {
    if (FTotalRecords <= 0 || FPerPage <= 0)
        FTotalPages = 0;
    else
        FTotalPages = int32_t((int64_t(FTotalRecords) + FPerPage - 1) / FPerPage);
}

void TSQLiteORM::SetPerPage(int32_t value) {
    if (value <= 0)
        return;
    FPerPage = value;
    CalculateTotalPages();
}

void TSQLiteORM::SetCurrentPage(int32_t value) {
    if (value < 0)
        FCurrentPage = 0;
    else if (FTotalPages > 0 && value >= FTotalPages)
        FCurrentPage = FTotalPages - 1;
    else
        FCurrentPage = value;
}

void TSQLiteORM::SetSearchCondition(const QString& AWhereClause) {
    FWhereCondition = AWhereClause;
    FHandle.FCondition = AWhereClause;
    FCurrentPage = 0;
}

bool TSQLiteORM::CanPrevPage() const {
    return FCurrentPage > 0;
}

bool TSQLiteORM::CanNextPage() const {
    return FTotalPages > 0 && FCurrentPage < FTotalPages - 1;
}

QString TSQLiteORM::GetPageInfo() const {
    return QStringLiteral("第 %1/%2 页，共 %3 条记录")
        .arg(FCurrentPage + 1)
        .arg(FTotalPages)
        .arg(FTotalRecords);
}

std::unique_ptr<TSQLiteTable> TSQLiteORM::LoadPage() {
    if (FOnGetTotalCount) {
        FTotalRecords = FOnGetTotalCount(this, FWhereCondition);
    } else {
        const QString head =
            FCountSQL.isEmpty() ? QStringLiteral("SELECT COUNT(*) FROM ") + FTableName : FCountSQL;
        auto table = aggregate(head + BuildWhereClause());
        FTotalRecords = 0;
        if (table) {
            try {
                FTotalRecords = int32_t(table->FieldAsInteger(0));
            } catch (const std::exception&) {
                FTotalRecords = 0;
            }
        }
    }
    CalculateTotalPages();
    if (FCurrentPage >= FTotalPages)
        FCurrentPage = FTotalPages - 1;
    if (FCurrentPage < 0)
        FCurrentPage = 0;

    const QString base =
        FBaseSQL.isEmpty() ? QStringLiteral("SELECT * FROM ") + FTableName : FBaseSQL;
    const QString sql =
        base + BuildWhereClause() + BuildOrderClause() + QLatin1Char(' ') + GetLimitClause();
    FLastSQL = sql;
    FDataList.clear();
    if (FOnLoadData)
        FOnLoadData(this, sql, FDataList);
    if (FOnUpdateUI)
        FOnUpdateUI(this, FTotalRecords, FCurrentPage, FTotalPages);
    return query(sql);
}

std::unique_ptr<TSQLiteTable> TSQLiteORM::GoToPage(int32_t APageNum) {
    FCurrentPage = APageNum;
    return LoadPage();
}

std::unique_ptr<TSQLiteTable> TSQLiteORM::NextPage() {
    if (!CanNextPage())
        return nullptr;
    ++FCurrentPage;
    return LoadPage();
}

std::unique_ptr<TSQLiteTable> TSQLiteORM::PrevPage() {
    if (!CanPrevPage())
        return nullptr;
    --FCurrentPage;
    return LoadPage();
}

std::unique_ptr<TSQLiteTable> TSQLiteORM::FirstPage() {
    FCurrentPage = 0;
    return LoadPage();
}

std::unique_ptr<TSQLiteTable> TSQLiteORM::LastPage() {
    FCurrentPage = FTotalPages - 1;
    return LoadPage();
}

// ---------------------------------------------------------------------------
// Field readers

namespace {

template <typename T, typename Read>
T readField(const TSQLiteTable* table, const QString& name, T neutral, Read read) {
    if (!table || table->RowCount() == 0 || table->Eof())
        return neutral;
    try {
        return read(table->FieldIndex(name));
    } catch (...) {
        return neutral;
    }
}

} // namespace

QString TSQLiteORM::GetFieldAsString(const TSQLiteTable* ATable, const QString& AFieldName) {
    return readField<QString>(ATable, AFieldName, QString(),
                              [&](int i) { return ATable->FieldAsString(i); });
}

int32_t TSQLiteORM::GetFieldAsInteger(const TSQLiteTable* ATable, const QString& AFieldName) {
    return readField<int32_t>(ATable, AFieldName, 0,
                              [&](int i) { return int32_t(ATable->FieldAsInteger(i)); });
}

double TSQLiteORM::GetFieldAsDouble(const TSQLiteTable* ATable, const QString& AFieldName) {
    return readField<double>(ATable, AFieldName, 0.0,
                             [&](int i) { return ATable->FieldAsDouble(i); });
}

bool TSQLiteORM::GetFieldAsBoolean(const TSQLiteTable* ATable, const QString& AFieldName) {
    return readField<bool>(ATable, AFieldName, false,
                           [&](int i) { return ATable->FieldAsInteger(i) != 0; });
}

QVariant TSQLiteORM::GetFieldValue(const TSQLiteTable* ATable, const QString& AFieldName) {
    return readField<QVariant>(ATable, AFieldName, QVariant(), [&](int i) -> QVariant {
        if (ATable->FieldIsNull(i))
            return QVariant(0);
        switch (ATable->ColumnType(i)) {
        case dtInt:
            return QVariant(qlonglong(ATable->FieldAsInteger(i)));
        case dtNumeric:
            return QVariant(ATable->FieldAsDouble(i));
        default:
            return QVariant(ATable->FieldAsString(i));
        }
    });
}
