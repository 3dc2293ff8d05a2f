#include "floor/lists/pagedlist.h"

#include "common/myfun.h"
#include "floor/lists/masterdata.h"
#include "store/SQLiteORM.h"
#include "store/sqlitedb.h"

#include <QFile>

TListHit HitListColumn(const QList<int>& widths, int editColumn, int x) {
    QList<TListColumn> columns(editColumn + 2);
    columns[editColumn].cell = TListCell::EditIcon;
    columns[editColumn + 1].cell = TListCell::DeleteIcon;
    switch (HitListCell(columns, widths, x)) {
    case TListCell::EditIcon:
        return TListHit::Edit;
    case TListCell::DeleteIcon:
        return TListHit::Delete;
    default:
        return TListHit::None;
    }
}

TListCell HitListCell(const QList<TListColumn>& columns, const QList<int>& widths, int x) {
    int first = 0;
    while (first < columns.size() && columns[first].cell == TListCell::Text)
        ++first;
    int left = 0;
    for (int i = 0; i < first; ++i)
        left += widths.value(i);
    for (int i = first; i < columns.size(); ++i) {
        const int right = left + widths.value(i);
        const bool last = i == columns.size() - 1;
        if (x > left && (last || x < right))
            return columns[i].cell;
        left = right;
    }
    return TListCell::Text;
}

TPagedList::TPagedList(TSQLiteDatabase& db, TListConfig config, QString dbPath)
    : FDatabase(db), FConfig(std::move(config)), FDbPath(std::move(dbPath)) {}

TPagedList::~TPagedList() = default;

void TPagedList::InitializeORM() {
    FSQLiteORM = std::make_unique<TSQLiteORM>(&FDatabase, FConfig.table);
    FSQLiteORM->SetBaseSQL(FConfig.baseSQL);
    if (!FConfig.initialCondition.isEmpty())
        FSQLiteORM->Where(FConfig.initialCondition);
    FSQLiteORM->Order(FConfig.order).Page(20);
    FSQLiteORM->SetOnGetTotalCount(
        [this](TSQLiteORM*, const QString& Where) { return GetTotalCount(Where); });
    FSQLiteORM->SetOnLoadData(
        [this](TSQLiteORM*, const QString& SQL, QList<void*>&) { PageLoadData(SQL); });
    FSQLiteORM->SetOnUpdateUI(
        [this](TSQLiteORM*, int32_t TotalRecords, int32_t CurrentPage, int32_t TotalPages) {
            FPageInfo = QStringLiteral("共%1条记录，%2/%3页")
                            .arg(TotalRecords)
                            .arg(CurrentPage + 1)
                            .arg(TotalPages);
            if (OnUpdateUI)
                OnUpdateUI();
        });
}

int32_t TPagedList::GetTotalCount(const QString& Where) {
    if (!FConfig.countSQL.isEmpty()) {
        QString sql = FConfig.countSQL;
        if (!Where.isEmpty())
            sql += QStringLiteral(" where ") + Where;
        auto table = FDatabase.GetTable(sql);
        if (table->Eof())
            return 0;
        const QString count = table->FieldAsString(0);
        return IsInt(count) ? count.toInt() : 0;
    }
    QString condition = Where;
    if (condition.left(6).toUpper() == QStringLiteral("WHERE "))
        condition.remove(0, 6);
    TSQLiteORM counter(&FDatabase, FConfig.table);
    counter.Where(condition);
    const int32_t count = counter.Count();
    RaiseIfFailed(counter);
    return count;
}

void TPagedList::PageLoadData(const QString& SQL) {
    FRows.clear();
    FPageSQL = SQL;
    if (FConfig.checkFileExists && !QFile::exists(FDbPath)) {
        if (OnMissingFile)
            OnMissingFile(FDbPath);
        return;
    }
    auto table = FDatabase.GetTable(SQL);
    QList<TListRow> rows;
    for (; !table->Eof(); table->Next()) {
        TListRow row;
        row.texts = FConfig.readRow(*table);
        row.id = row.texts.value(0);
        rows.append(std::move(row));
    }
    FRows = std::move(rows);
}

void TPagedList::LoadData() {
    if (!FSQLiteORM)
        InitializeORM();
    try {
        FSQLiteORM->LoadPage();
    } catch (...) {
        FRows.clear();
        if (OnUpdateUI)
            OnUpdateUI();
        throw;
    }
}

void TPagedList::FirstPage() {
    FSQLiteORM->SetCurrentPage(0);
    LoadData();
}

void TPagedList::PrevPage() {
    if (!CanPrevPage())
        return;
    FSQLiteORM->SetCurrentPage(FSQLiteORM->CurrentPage() - 1);
    LoadData();
}

void TPagedList::NextPage() {
    if (!CanNextPage())
        return;
    FSQLiteORM->SetCurrentPage(FSQLiteORM->CurrentPage() + 1);
    LoadData();
}

void TPagedList::LastPage() {
    FSQLiteORM->SetCurrentPage(FSQLiteORM->TotalPages() - 1);
    LoadData();
}

void TPagedList::Search(const QString& text) {
    if (!FSQLiteORM)
        InitializeORM();
    const QString keyword = NormaliseKeyword(text);
    FSQLiteORM->SetSearchCondition(keyword.isEmpty() ? FConfig.initialCondition
                                                     : FConfig.keywordCondition(keyword));
    LoadData();
}

bool TPagedList::CanPrevPage() const {
    return FSQLiteORM && FSQLiteORM->CanPrevPage();
}

bool TPagedList::CanNextPage() const {
    return FSQLiteORM && FSQLiteORM->CanNextPage();
}

int32_t TPagedList::CurrentPage() const {
    return FSQLiteORM ? FSQLiteORM->CurrentPage() : 0;
}

int32_t TPagedList::TotalPages() const {
    return FSQLiteORM ? FSQLiteORM->TotalPages() : 0;
}

int32_t TPagedList::TotalRecords() const {
    return FSQLiteORM ? FSQLiteORM->TotalRecords() : 0;
}

QString TPagedList::Condition() const {
    return FSQLiteORM ? FSQLiteORM->WhereCondition() : FConfig.initialCondition;
}

QString TPagedList::DeleteRefusal(const QString& id) {
    if (!FConfig.deleteRefusal || !IsInt(id))
        return QString();
    return FConfig.deleteRefusal(FDatabase, id);
}

QString TPagedList::DeleteQuestion(const QString& id) {
    const QString question = QStringLiteral("确认要删除吗？");
    if (FConfig.membersTable.isEmpty() || !IsInt(id))
        return question;
    TSQLiteORM members(&FDatabase, FConfig.membersTable);
    members.Where(QStringLiteral("cid = ") + id + QStringLiteral(" AND deleted=0"));
    const int32_t count = members.Count();
    RaiseIfFailed(members);
    if (count <= 0)
        return question;
    const QString noun = FConfig.memberNoun;
    return QStringLiteral("该分类下还有%1个%2，删除后这些%2将变为未分类，").arg(count).arg(noun) +
           question;
}

bool TPagedList::DeleteItem(const QString& id) {
    if (!IsInt(id))
        return false;
    const QString failed = QStringLiteral("删除失败: ");
    try {
        TSQLiteTransaction transaction(FDatabase);
        const QString refusal = DeleteRefusal(id);
        if (!refusal.isEmpty())
            throw EMasterDataError(refusal);
        if (!FConfig.membersTable.isEmpty()) {
            TSQLiteORM members(&FDatabase, FConfig.membersTable);
            members.Where(QStringLiteral("cid = ") + id);
            members.SetField(QStringLiteral("cid"), 0);
            RaiseIfFailed<EMasterDataError>(members, failed);
        }
        TSQLiteORM orm(&FDatabase, FConfig.table);
        orm.Where(QStringLiteral("id = ") + id);
        if (FConfig.deletion == TListDeletion::Soft)
            orm.SetField(QStringLiteral("deleted"), 1);
        else
            orm.Delete();
        RaiseIfFailed<EMasterDataError>(orm, failed);
        transaction.Commit();
    } catch (const ESQLiteException& e) {
        throw EMasterDataError(failed + e.Message());
    }
    return true;
}
