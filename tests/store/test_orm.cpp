#include "store/SQLiteORM.h"
#include "store/adddata.h"

#include "tempfolder.h"

#include <QDateTime>

namespace {

class OrmTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        ASSERT_TRUE(AutoCreateTable(dbPath()));
        db = std::make_unique<TSQLiteDatabase>(dbPath());
    }
    void addDesks(int n) {
        db->BeginTransaction();
        for (int i = 1; i <= n; ++i)
            db->ExecSQL(
                QStringLiteral("INSERT INTO zel_desk (title, sort) VALUES ('桌%1', %1)").arg(i));
        db->Commit();
    }
    std::unique_ptr<TSQLiteDatabase> db;
};

} // namespace

TEST(ValueToSQLTest, EveryKindBecomesItsLiteral) {
    const std::pair<QVariant, QString> cases[] = {
        {QVariant(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'")},
        {QVariant(QString()), QStringLiteral("''")},
        {QVariant(true), QStringLiteral("1")},
        {QVariant(false), QStringLiteral("0")},
        {QVariant(42), QStringLiteral("42")},
        {QVariant(qlonglong(-9000000000)), QStringLiteral("-9000000000")},
        {QVariant(12.5), QStringLiteral("12.5")},
        {QVariant(12.0), QStringLiteral("12")},
        {QVariant(0.1 + 0.2), QStringLiteral("0.3")},
        {QVariant(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))),
         QStringLiteral("'2026-01-02 03:04:05'")},
        {QVariant(), QString()},
        {QVariant::fromValue(nullptr), QString()},
    };
    for (const auto& [value, literal] : cases)
        EXPECT_EQ(TSQLiteORM::ValueToSQL(value), literal) << value.typeName();
}

TEST_F(OrmTest, HostileTextRoundTripsAndRunsNoOtherStatement) {
    const QString texts[] = {
        QStringLiteral("'); DROP TABLE zel_desk; --"),
        QStringLiteral("O'Brien \"双引号\" \\ back"),
        QStringLiteral("🍜🍣 emoji and 中文"),
        QString(10000, QLatin1Char('x')) + QLatin1Char('\''),
        QStringLiteral("line\r\nbreak\ttab"),
        QStringLiteral("%1 %s %d"),
    };
    TSQLiteORM orm(db.get(), QStringLiteral("zel_desk"));
    for (const QString& text : texts) {
        const int64_t id =
            orm.AddAndGetID({{QStringLiteral("title"), text}, {QStringLiteral("bh"), text}});
        ASSERT_GT(id, 0) << orm.LastError().toStdString();
        auto row = orm.Where(QStringLiteral("id=%d"), {QVariant(qlonglong(id))}).First();
        ASSERT_TRUE(row);
        EXPECT_EQ(TSQLiteORM::GetFieldAsString(row.get(), QStringLiteral("title")), text);

        orm.Where(QStringLiteral("id=%d"), {QVariant(qlonglong(id))})
            .SetField(QStringLiteral("bh"), text + QStringLiteral("'"));
        EXPECT_FALSE(orm.LastFailed());
        row = orm.First();
        EXPECT_EQ(TSQLiteORM::GetFieldAsString(row.get(), QStringLiteral("bh")),
                  text + QStringLiteral("'"));
    }
    EXPECT_TRUE(db->TableExists(QStringLiteral("zel_desk")));
    EXPECT_EQ(TSQLiteORM(db.get(), QStringLiteral("zel_desk")).Count(), int(std::size(texts)));
}

TEST_F(OrmTest, ConditionAndOrderStayInForce) {
    addDesks(5);
    TSQLiteORM orm(db.get(), QStringLiteral("zel_desk"));
    orm.Where(QStringLiteral("id=1"));
    EXPECT_EQ(orm.Count(), 1);
    EXPECT_EQ(orm.LastSQL(), QStringLiteral("SELECT COUNT(*) FROM zel_desk WHERE id=1"));

    orm.Where(QStringLiteral("sort>%d AND title<>'%s'"), {2, QStringLiteral("桌9")});
    orm.Order(QStringLiteral("sort DESC"));
    auto first = orm.First();
    EXPECT_EQ(orm.LastSQL(), QStringLiteral("SELECT * FROM zel_desk WHERE sort>2 AND "
                                            "title<>'桌9' ORDER BY sort DESC LIMIT 1"));
    EXPECT_EQ(TSQLiteORM::GetFieldAsInteger(first.get(), QStringLiteral("sort")), 5);
    auto all = orm.Select();
    EXPECT_EQ(all->RowCount(), 3u);
    EXPECT_EQ(orm.Count(QStringLiteral("title")), 3);

    EXPECT_THROW(orm.Where(QStringLiteral("id=%d"), {QStringLiteral("x")}), std::invalid_argument);
    EXPECT_THROW(orm.Where(QStringLiteral("id=%d and %d"), {1}), std::invalid_argument);
}

TEST_F(OrmTest, UnconditionedWritesAreRefused) {
    addDesks(2);
    TSQLiteORM orm(db.get(), QStringLiteral("zel_desk"));
    EXPECT_FALSE(orm.Delete());
    EXPECT_TRUE(orm.LastFailed());
    orm.SetField(QStringLiteral("nums"), 9).SetInc(QStringLiteral("nums"), 1);
    EXPECT_TRUE(orm.LastSQL().isEmpty()); // no statement was built
    EXPECT_TRUE(orm.LastFailed());
    EXPECT_FALSE(orm.Save({{QStringLiteral("nums"), 3}}));
    EXPECT_FALSE(orm.Where(QStringLiteral("id=1")).Save({}));
    EXPECT_EQ(TSQLiteORM(db.get(), QStringLiteral("zel_desk")).Count(), 2);
    auto sum = TSQLiteORM(db.get(), QStringLiteral("zel_desk")).Sum(QStringLiteral("nums"));
    EXPECT_EQ(sum.toInt(), 0);
}

TEST_F(OrmTest, WritesThroughTheConditionHandle) {
    addDesks(3);
    TSQLiteORM orm(db.get(), QStringLiteral("zel_desk"));
    orm.Where(QStringLiteral("id=2"))
        .SetField(QStringLiteral("nums"), 4)
        .SetInc(QStringLiteral("nums"), 3)
        .SetField(QStringLiteral("price"), 12.5);
    EXPECT_FALSE(orm.LastFailed());
    EXPECT_EQ(orm.LastSQL(), QStringLiteral("UPDATE zel_desk SET price = 12.5 WHERE id=2"));
    EXPECT_TRUE(orm.Where(QStringLiteral("id=3"))
                    .Save({{QStringLiteral("fwy"), QStringLiteral("小王")},
                           {QStringLiteral("yj"), 100.25}}));
    EXPECT_TRUE(orm.Where(QStringLiteral("id=1")).Delete());

    auto rows =
        TSQLiteORM(db.get(), QStringLiteral("zel_desk")).Order(QStringLiteral("id")).Select();
    ASSERT_EQ(rows->RowCount(), 2u);
    EXPECT_EQ(TSQLiteORM::GetFieldAsInteger(rows.get(), QStringLiteral("nums")), 7);
    EXPECT_DOUBLE_EQ(TSQLiteORM::GetFieldAsDouble(rows.get(), QStringLiteral("price")), 12.5);
    rows->Next();
    EXPECT_EQ(TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("fwy")),
              QStringLiteral("小王"));
    EXPECT_DOUBLE_EQ(TSQLiteORM::GetFieldAsDouble(rows.get(), QStringLiteral("yj")), 100.25);
    // deleted is tinyint(1): reads as text, yet its Boolean reading works on the digits.
    EXPECT_FALSE(TSQLiteORM::GetFieldAsBoolean(rows.get(), QStringLiteral("deleted")));
    EXPECT_EQ(TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("deleted")),
              QStringLiteral("0"));
}

TEST_F(OrmTest, SaveOfARowThatIsGoneFails) {
    addDesks(2);
    TSQLiteORM orm(db.get(), QStringLiteral("zel_desk"));
    EXPECT_TRUE(orm.Where(QStringLiteral("id=2")).Save({{QStringLiteral("nums"), 2}}));
    EXPECT_FALSE(orm.LastFailed());
    EXPECT_FALSE(orm.LastNoRow());
    // The same values again still matched the row: that is no failure.
    EXPECT_TRUE(orm.Save({{QStringLiteral("nums"), 2}}));

    ASSERT_TRUE(orm.Where(QStringLiteral("id=2")).Delete());
    EXPECT_FALSE(orm.Save({{QStringLiteral("nums"), 5}}));
    EXPECT_TRUE(orm.LastFailed());
    EXPECT_TRUE(orm.LastNoRow());
    EXPECT_FALSE(orm.LastError().isEmpty());
    EXPECT_THROW(RaiseIfFailed(orm), ESQLiteException);

    // A statement error is a failure of another kind.
    EXPECT_FALSE(orm.Where(QStringLiteral("nosuchcolumn=1")).Save({{QStringLiteral("nums"), 5}}));
    EXPECT_TRUE(orm.LastFailed());
    EXPECT_FALSE(orm.LastNoRow());
    // The next operation that runs clears both.
    EXPECT_TRUE(orm.Where(QStringLiteral("id=1")).Save({{QStringLiteral("nums"), 5}}));
    EXPECT_FALSE(orm.LastNoRow());

    // SetField stays a bulk update: matching nothing is not a failure.
    orm.Where(QStringLiteral("id=2")).SetField(QStringLiteral("nums"), 1);
    EXPECT_FALSE(orm.LastFailed());
}

TEST_F(OrmTest, FailuresGiveNeutralResultsAndKeepTheStatement) {
    TSQLiteORM orm(db.get(), QStringLiteral("zel_desk"));
    int32_t id = 99;
    EXPECT_FALSE(orm.Add({{QStringLiteral("title"), QVariant()}}, id));
    EXPECT_EQ(id, -1);
    EXPECT_EQ(orm.LastSQL(), QStringLiteral("INSERT INTO zel_desk (title) VALUES ()"));
    EXPECT_TRUE(orm.LastFailed());
    EXPECT_FALSE(orm.LastError().isEmpty());
    EXPECT_EQ(orm.AddAndGetID({{QStringLiteral("nosuchcolumn"), 1}}), -1);
    EXPECT_FALSE(orm.Add({}, id));
    EXPECT_EQ(id, -1);
    EXPECT_EQ(orm.Count(), 0);
    EXPECT_FALSE(orm.LastFailed());

    orm.Where(QStringLiteral("nosuchcolumn=1"));
    EXPECT_EQ(orm.Select(), nullptr);
    EXPECT_EQ(orm.Count(), 0);
    EXPECT_TRUE(orm.LastFailed());
    EXPECT_FALSE(orm.Max(QStringLiteral("sort")).isValid());
    EXPECT_EQ(orm.Sum(QStringLiteral("price")), QVariant(0));
    orm.SetField(QStringLiteral("nums"), 1);
    EXPECT_TRUE(orm.LastFailed());
    EXPECT_EQ(orm.LastSQL(), QStringLiteral("UPDATE zel_desk SET nums = 1 WHERE nosuchcolumn=1"));

    ASSERT_TRUE(orm.Add({{QStringLiteral("title"), QStringLiteral("a")}}, id));
    EXPECT_EQ(id, 1);
    EXPECT_FALSE(orm.LastFailed());
}

TEST_F(OrmTest, Aggregates) {
    TSQLiteORM orm(db.get(), QStringLiteral("zel_desk"));
    EXPECT_EQ(orm.Max(QStringLiteral("sort")), QVariant(0)); // NULL over an empty table
    addDesks(4);
    orm.Where(QStringLiteral("id>1")).SetField(QStringLiteral("price"), 2.25);
    EXPECT_EQ(orm.Max(QStringLiteral("sort")).toLongLong(), 4);
    EXPECT_EQ(orm.Min(QStringLiteral("sort")).toLongLong(), 2);
    EXPECT_EQ(orm.Max(QStringLiteral("title")), QVariant(QStringLiteral("桌4")));

    const QVariant sum = orm.Sum(QStringLiteral("price;"));
    EXPECT_EQ(orm.LastSQL(),
              QStringLiteral("SELECT SUM(`price`) AS total_sum FROM zel_desk WHERE id>1"));
    EXPECT_EQ(sum.typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(sum.toDouble(), 6.75);
    EXPECT_DOUBLE_EQ(orm.Sum(QStringLiteral("`sort`")).toDouble(), 9.0);
    orm.Where(QStringLiteral("id>100"));
    EXPECT_EQ(orm.Sum(QStringLiteral("price")), QVariant(0));
}

TEST_F(OrmTest, PagingWalkOverFortyFiveRows) {
    addDesks(45);
    TSQLiteORM orm(db.get(), QStringLiteral("zel_desk"));
    orm.SetSearchCondition(QStringLiteral("deleted=0"));
    orm.Order(QStringLiteral("sort ASC"));
    orm.Page(20);

    QList<std::tuple<int, int, int>> ui;
    QStringList loads;
    orm.SetOnUpdateUI([&](TSQLiteORM*, int32_t total, int32_t page, int32_t pages) {
        ui.append({total, page, pages});
    });
    orm.SetOnLoadData([&](TSQLiteORM*, const QString& sql, QList<void*>& list) {
        EXPECT_TRUE(list.isEmpty());
        list.append(nullptr);
        loads << sql;
    });

    auto page = orm.LoadPage();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->RowCount(), 20u);
    EXPECT_EQ(orm.TotalPages(), 3);
    EXPECT_EQ(orm.GetPageInfo(), QStringLiteral("第 1/3 页，共 45 条记录"));
    EXPECT_FALSE(orm.CanPrevPage());
    EXPECT_EQ(orm.PrevPage(), nullptr);

    page = orm.NextPage();
    EXPECT_EQ(orm.LastSQL(),
              QStringLiteral(
                  "SELECT * FROM zel_desk WHERE deleted=0 ORDER BY sort ASC LIMIT 20 OFFSET 20"));
    EXPECT_EQ(TSQLiteORM::GetFieldAsInteger(page.get(), QStringLiteral("sort")), 21);

    page = orm.GoToPage(7);
    EXPECT_EQ(orm.CurrentPage(), 2);
    EXPECT_EQ(page->RowCount(), 5u);
    EXPECT_FALSE(orm.CanNextPage());
    const QString before = orm.LastSQL();
    EXPECT_EQ(orm.NextPage(), nullptr);
    EXPECT_EQ(orm.LastSQL(), before);

    page = orm.FirstPage();
    EXPECT_EQ(orm.CurrentPage(), 0);
    page = orm.LastPage();
    EXPECT_EQ(orm.CurrentPage(), 2);
    EXPECT_EQ(loads.size(), 5);
    EXPECT_EQ(ui.last(), std::make_tuple(45, 2, 3));
    EXPECT_EQ(orm.DataList().size(), 1);

    orm.SetPerPage(0);
    EXPECT_EQ(orm.PerPage(), 20);
    orm.SetPerPage(10);
    EXPECT_EQ(orm.TotalPages(), 5);
    orm.SetCurrentPage(9);
    EXPECT_EQ(orm.CurrentPage(), 4);
    orm.SetCurrentPage(-2);
    EXPECT_EQ(orm.CurrentPage(), 0);
}

TEST_F(OrmTest, PagingWithNoRowsAndWithHooks) {
    TSQLiteORM orm(db.get(), QStringLiteral("zel_desk"));
    auto page = orm.LastPage(); // page -1 before any load, clamped to 0
    ASSERT_TRUE(page);
    EXPECT_EQ(orm.CurrentPage(), 0);
    EXPECT_EQ(orm.TotalPages(), 0);
    EXPECT_EQ(orm.LastSQL(), QStringLiteral("SELECT * FROM zel_desk LIMIT 20 OFFSET 0"));
    EXPECT_EQ(orm.GetPageInfo(), QStringLiteral("第 1/0 页，共 0 条记录"));

    addDesks(3);
    orm.SetBaseSQL(QStringLiteral("SELECT `id`,`title` FROM `zel_desk`"));
    orm.SetSearchCondition(QStringLiteral("title like '%桌%'"));
    QString askedWith;
    orm.SetOnGetTotalCount([&](TSQLiteORM*, const QString& where) {
        askedWith = where;
        return 41;
    });
    page = orm.GoToPage(2);
    EXPECT_EQ(askedWith, QStringLiteral("title like '%桌%'"));
    EXPECT_EQ(orm.TotalPages(), 3);
    EXPECT_EQ(orm.LastSQL(), QStringLiteral("SELECT `id`,`title` FROM `zel_desk` WHERE title like "
                                            "'%桌%' LIMIT 20 OFFSET 40"));
    EXPECT_EQ(page->RowCount(), 0u);

    orm.SetOnGetTotalCount(nullptr);
    orm.SetCountSQL(QStringLiteral("SELECT COUNT(*) FROM `zel_desk`"));
    page = orm.FirstPage();
    EXPECT_EQ(orm.TotalRecords(), 3);
    EXPECT_EQ(page->ColCount(), 2u);
}
