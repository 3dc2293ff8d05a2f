// The paging driver of the list windows: pages, keyword search, hit areas of
// the action cells, deletion and the texts of the dish rows.

#include "common/appvalues.h"
#include "floor/lists/masterdata.h"
#include "floor/lists/pagedlist.h"

#include "masterdatafixture.h"

namespace {

QStringList titles(const TPagedList& list) {
    QStringList out;
    for (const TListRow& row : list.Rows())
        out << row.texts.value(1);
    return out;
}

class PagedListTest : public MasterDataTest {
protected:
    std::unique_ptr<TPagedList> open(TListConfig config) {
        auto list = std::make_unique<TPagedList>(*db, std::move(config), sqlitename);
        list->InitializeORM();
        list->LoadData();
        return list;
    }
};

TEST_F(PagedListTest, FortyOneDishesMakeThreePages) {
    for (int i = 1; i <= 41; ++i)
        addDish(QStringLiteral("菜%1").arg(i), 10, i);
    addDish(QStringLiteral("已删除"), 10, 0, 0, 1);
    auto list = open(DishListConfig());
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共41条记录，1/3页"));
    EXPECT_EQ(list->Rows().size(), 20);
    EXPECT_EQ(list->Rows().first().texts.value(1), QStringLiteral("菜1"));
    EXPECT_FALSE(list->CanPrevPage());
    EXPECT_TRUE(list->CanNextPage());
    EXPECT_TRUE(list->PageSQL().endsWith(
        QStringLiteral(" WHERE `A1`.`deleted`=0 ORDER BY `A1`.`sort` ASC LIMIT 20 OFFSET 0")));

    // "尾页" from the first page goes straight to the last.
    list->LastPage();
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共41条记录，3/3页"));
    EXPECT_EQ(titles(*list), QStringList{QStringLiteral("菜41")});
    EXPECT_TRUE(list->CanPrevPage());
    EXPECT_FALSE(list->CanNextPage());

    list->PrevPage();
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共41条记录，2/3页"));
    EXPECT_EQ(list->Rows().first().texts.value(1), QStringLiteral("菜21"));
    list->FirstPage();
    EXPECT_EQ(list->CurrentPage(), 0);
}

TEST_F(PagedListTest, AnEmptyTableHasNoPagesToGoTo) {
    auto list = open(DishListConfig());
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共0条记录，1/0页"));
    EXPECT_TRUE(list->Rows().isEmpty());
    EXPECT_FALSE(list->CanPrevPage());
    EXPECT_FALSE(list->CanNextPage());
}

TEST_F(PagedListTest, KeywordsFilterRowsAndCount) {
    addDish(QStringLiteral("辣子鸡"), 10, 1);
    addDish(QStringLiteral("麻辣 香锅"), 10, 2);
    addDish(QStringLiteral("清蒸鱼"), 10, 3);
    addDish(QStringLiteral("酸辣汤"), 10, 4, 0, 1); // deleted
    const QStringList all{QStringLiteral("辣子鸡"), QStringLiteral("麻辣 香锅"),
                          QStringLiteral("清蒸鱼")};
    const struct {
        const char* typed;
        QStringList listed;
        const char* info;
    } cases[] = {
        {"辣", {QStringLiteral("辣子鸡"), QStringLiteral("麻辣 香锅")}, "共2条记录，1/1页"},
        {"   ", all, "共3条记录，1/1页"},
        {"''", all, "共3条记录，1/1页"},
        {" ' ' ", {QStringLiteral("麻辣 香锅")}, "共1条记录，1/1页"},
        {"清'蒸", {QStringLiteral("清蒸鱼")}, "共1条记录，1/1页"},
    };
    auto list = open(DishListConfig());
    for (const auto& c : cases) {
        list->Search(QString::fromUtf8(c.typed));
        EXPECT_EQ(titles(*list), c.listed) << c.typed;
        EXPECT_EQ(list->PageInfo(), QString::fromUtf8(c.info)) << c.typed;
    }
}

TEST_F(PagedListTest, KeywordNormalisation) {
    EXPECT_EQ(NormaliseKeyword(QStringLiteral("  辣 ")), QStringLiteral("辣"));
    EXPECT_EQ(NormaliseKeyword(QStringLiteral("   ")), QString());
    EXPECT_EQ(NormaliseKeyword(QStringLiteral("'''")), QString());
    EXPECT_EQ(NormaliseKeyword(QStringLiteral("' '")), QStringLiteral(" "));
    EXPECT_EQ(NormaliseKeyword(QStringLiteral("a'; DROP TABLE x; --")),
              QStringLiteral("a; DROP TABLE x; --"));
}

TEST_F(PagedListTest, SearchGoesBackToTheFirstPageAndTheCategoryListFiltersByTitle) {
    for (int i = 1; i <= 25; ++i)
        addCategory(QStringLiteral("分类%1").arg(i), i);
    auto list = open(DishClassListConfig());
    list->NextPage();
    EXPECT_EQ(list->CurrentPage(), 1);
    list->Search(QStringLiteral("分类2"));
    EXPECT_EQ(list->CurrentPage(), 0);
    // 分类2 and 分类20..25.
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共7条记录，1/1页"));
    EXPECT_EQ(list->Condition(), QStringLiteral("`title` LIKE '%分类2%'"));
    list->Search(QString());
    EXPECT_EQ(list->Condition(), QString());
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共25条记录，1/2页"));
}

TEST(ListHitTest, EditCellOpensTheEditorAndRightOfItDeletes) {
    QList<int> widths;
    for (const TListColumn& column : DeskListConfig().columns)
        widths << column.width;
    // 编号 50, 桌位名称 70, 桌位编号 100, 所属分类 150, 排序号 60 | 编辑 430..480 | 删除 480..530
    const struct {
        int x;
        TListHit hit;
    } cases[] = {
        {10, TListHit::None},    {400, TListHit::None},   {430, TListHit::None},
        {431, TListHit::Edit},   {479, TListHit::Edit},   {480, TListHit::None},
        {481, TListHit::Delete}, {529, TListHit::Delete}, {700, TListHit::Delete},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HitListColumn(widths, 5, c.x), c.hit) << c.x;
}

TEST_F(PagedListTest, DishesAreSoftDeletedCategoriesRemoved) {
    const int cid = addCategory(QStringLiteral("热菜"));
    addCategory(QStringLiteral("凉菜"));
    const int dish = addDish(QStringLiteral("鱼"), 10, 1, cid);
    addDish(QStringLiteral("虾"), 10, 2, cid);

    auto dishes = open(DishListConfig());
    EXPECT_FALSE(dishes->DeleteItem(QStringLiteral("1 OR 1=1")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_caipin WHERE deleted=0")),
              QStringLiteral("2"));
    EXPECT_TRUE(dishes->DeleteItem(QString::number(dish)));
    dishes->LoadData();
    EXPECT_EQ(titles(*dishes), QStringList{QStringLiteral("虾")});
    EXPECT_EQ(scalar(QStringLiteral("SELECT deleted FROM zel_caipin WHERE id=%1").arg(dish)),
              QStringLiteral("1"));

    auto categories = open(DishClassListConfig());
    categories->Search(QStringLiteral("热"));
    EXPECT_TRUE(categories->DeleteItem(QString::number(cid)));
    categories->LoadData();
    EXPECT_TRUE(categories->Rows().isEmpty());
    EXPECT_EQ(categories->Condition(), QStringLiteral("`title` LIKE '%热%'"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_caipin_class")), QStringLiteral("1"));
    // Its dishes, the soft-deleted one too, are left without a category.
    dishes->LoadData();
    EXPECT_EQ(dishes->Rows().first().texts.value(3), QString());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_caipin WHERE cid=%1").arg(cid)),
              QStringLiteral("0"));
}

// The question names the dishes or tables a category or area still holds
// (soft-deleted ones do not count); an empty one keeps the plain question.
TEST_F(PagedListTest, TheDeleteQuestionCountsWhatTheCategoryHolds) {
    const int hot = addCategory(QStringLiteral("热菜"));
    const int cold = addCategory(QStringLiteral("凉菜"));
    for (int i = 0; i < 3; ++i)
        addDish(QStringLiteral("菜%1").arg(i), 10, i, hot);
    addDish(QStringLiteral("旧菜"), 10, 9, hot, 1);
    exec(QStringLiteral("INSERT INTO zel_desk_class (title) VALUES ('大厅')"));
    exec(QStringLiteral("INSERT INTO zel_desk (title, cid) VALUES ('一号', 1), ('二号', 1)"));

    auto categories = open(DishClassListConfig());
    EXPECT_EQ(categories->DeleteQuestion(QString::number(hot)),
              QStringLiteral("该分类下还有3个菜品，删除后这些菜品将变为未分类，确认要删除吗？"));
    EXPECT_EQ(categories->DeleteQuestion(QString::number(cold)), QStringLiteral("确认要删除吗？"));
    auto areas = open(DeskClassListConfig());
    EXPECT_EQ(areas->DeleteQuestion(QStringLiteral("1")),
              QStringLiteral("该分类下还有2个桌位，删除后这些桌位将变为未分类，确认要删除吗？"));
    EXPECT_TRUE(areas->DeleteItem(QStringLiteral("1")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT GROUP_CONCAT(cid) FROM zel_desk")),
              QStringLiteral("0,0"));
    EXPECT_EQ(open(DishListConfig())->DeleteQuestion(QStringLiteral("1")),
              QStringLiteral("确认要删除吗？"));
}

// The category goes together with its dishes' category id, or neither does.
TEST_F(PagedListTest, AFailedCategoryRemovalKeepsItsDishes) {
    const int cid = addCategory(QStringLiteral("热菜"));
    addDish(QStringLiteral("鱼"), 10, 1, cid);
    exec(QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON zel_caipin_class BEGIN SELECT "
                        "RAISE(ABORT, '分类已锁定'); END"));
    auto categories = open(DishClassListConfig());
    EXPECT_THROW(categories->DeleteItem(QString::number(cid)), EMasterDataError);
    EXPECT_EQ(scalar(QStringLiteral("SELECT cid FROM zel_caipin")), QString::number(cid));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_caipin_class")), QStringLiteral("1"));
}

// A table with an open bill is never deleted: occupied, open lines (returned
// ones too) or a basket. Settled, deleted lines and an emptied basket are no bill.
TEST_F(PagedListTest, ATableWithAnOpenBillIsNotDeleted) {
    const struct {
        const char* name;
        const char* setup;
        bool open;
    } cases[] = {
        {"free", "", false},
        {"occupied", "UPDATE zel_desk SET stat='1'", true},
        {"line to make", "INSERT INTO zel_orders_detail (deskid, stat) VALUES (1, 0)", true},
        {"returned line", "INSERT INTO zel_orders_detail (deskid, stat) VALUES (1, 7)", true},
        {"settled line", "INSERT INTO zel_orders_detail (deskid, stat, issettle) VALUES (1, 3, 1)",
         false},
        {"deleted line", "INSERT INTO zel_orders_detail (deskid, stat) VALUES (1, 8)", false},
        {"line of another table", "INSERT INTO zel_orders_detail (deskid, stat) VALUES (2, 0)",
         false},
        {"basket", "INSERT INTO zel_cart (deskid, quantity) VALUES (1, 2)", true},
        {"emptied basket", "INSERT INTO zel_cart (deskid, quantity) VALUES (1, 0)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM zel_desk"));
        exec(QStringLiteral("DELETE FROM zel_orders_detail"));
        exec(QStringLiteral("DELETE FROM zel_cart"));
        exec(QStringLiteral("INSERT INTO zel_desk (id, title, bh) VALUES (1, '桌位01', 'A01'), "
                            "(2, '桌位02', 'A02')"));
        if (*c.setup)
            exec(QString::fromUtf8(c.setup));
        auto desks = open(DeskListConfig());
        const QString refusal = desks->DeleteRefusal(QStringLiteral("1"));
        if (!c.open) {
            EXPECT_EQ(refusal, QString());
            EXPECT_TRUE(desks->DeleteItem(QStringLiteral("1")));
            EXPECT_EQ(scalar(QStringLiteral("SELECT deleted FROM zel_desk WHERE id=1")),
                      QStringLiteral("1"));
            continue;
        }
        EXPECT_EQ(refusal,
                  QStringLiteral("桌位 \"桌位01\"（A01）还有未结账的订单，请先结算或清台后再删除"));
        try {
            desks->DeleteItem(QStringLiteral("1"));
            ADD_FAILURE() << "deleted";
        } catch (const EMasterDataError& e) {
            EXPECT_EQ(e.Message(), refusal);
        }
        EXPECT_EQ(scalar(QStringLiteral("SELECT deleted FROM zel_desk WHERE id=1")),
                  QStringLiteral("0"));
    }
}

TEST_F(PagedListTest, AFailedDeleteIsReported) {
    auto list = open(DishClassListConfig());
    exec(QStringLiteral("DROP TABLE zel_caipin_class"));
    try {
        list->DeleteItem(QStringLiteral("1"));
        FAIL() << "no failure";
    } catch (const EMasterDataError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("删除失败: "))) << e.what();
    }
}

TEST_F(PagedListTest, DishRowsRoundThePriceAndNameTheSpecificationFlag) {
    const int cid = addCategory(QStringLiteral("热菜"));
    addDish(QStringLiteral("鱼"), 12.346, 1, cid);
    const int sku = addDish(QStringLiteral("面"), 8, 2);
    exec(QStringLiteral("UPDATE zel_caipin SET issku=1 WHERE id=%1").arg(sku));
    auto list = open(DishListConfig());
    ASSERT_EQ(list->Rows().size(), 2);
    EXPECT_EQ(list->Rows()[0].texts,
              (QStringList{QStringLiteral("1"), QStringLiteral("鱼"), QStringLiteral("￥12.35"),
                           QStringLiteral("热菜"), QStringLiteral("1"), QStringLiteral("无")}));
    EXPECT_EQ(list->Rows()[1].texts.value(5), QStringLiteral("多规格"));
    EXPECT_EQ(list->Rows()[1].id, QString::number(sku));
}

TEST_F(PagedListTest, AFlagThatIsNoNumberStopsThePage) {
    addDish(QStringLiteral("鱼"));
    exec(QStringLiteral("UPDATE zel_caipin SET issku='abc'"));
    TPagedList list(*db, DishListConfig(), sqlitename);
    list.InitializeORM();
    EXPECT_THROW(list.LoadData(), ESQLiteException);
    EXPECT_TRUE(list.Rows().isEmpty());
}

TEST_F(PagedListTest, AMissingDatabaseFileIsToldByTheCategoryList) {
    addCategory(QStringLiteral("热菜"));
    TPagedList list(*db, DishClassListConfig(), folder() + QStringLiteral("gone.db"));
    QString missing;
    list.OnMissingFile = [&](const QString& path) {
        missing = path;
    };
    list.InitializeORM();
    list.LoadData();
    EXPECT_EQ(missing, folder() + QStringLiteral("gone.db"));
    EXPECT_TRUE(list.Rows().isEmpty());
}

} // namespace
