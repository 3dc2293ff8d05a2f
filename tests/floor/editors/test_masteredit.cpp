// The editors' rules without windows: validation order and texts, saving in
// both modes, read-back ids, sort defaults, specification rows and issku.

#include "common/myfun.h"
#include "floor/editors/classedit.h"
#include "floor/editors/deskedit.h"
#include "floor/editors/dishedit.h"
#include "floor/lists/masterdata.h"

#include "masterdatafixture.h"

#include <functional>

namespace {

const QDateTime kNow(QDate(2025, 3, 1), QTime(12, 0, 0));

TDishInput dish(const QString& title, const QString& price, QList<TSkuInput> skus = {}) {
    TDishInput input;
    input.title = title;
    input.price = price;
    input.sort = QStringLiteral("0");
    input.skus = std::move(skus);
    return input;
}

TSkuInput newSku(const QString& title, const QString& price) {
    return TSkuInput{0, title, price, true, false};
}

using MasterEditTest = MasterDataTest;

TEST(DishValidationTest, FirstFailingFieldInOrder) {
    const auto sku = [](const char* t, const char* p, bool deleted = false) {
        return TSkuInput{5, QString::fromUtf8(t), QString::fromUtf8(p), false, deleted};
    };
    const struct {
        TDishInput input;
        const char* message; // "" = accepted
        TInputField field;
        int row;
    } cases[] = {
        {dish(QStringLiteral("  "), QString()), "请输入菜品名称！", TInputField::Title, -1},
        {dish(QStringLiteral("鱼"), QStringLiteral(" ")), "请输入菜品价格！", TInputField::Price,
         -1},
        {dish(QStringLiteral("鱼"), QStringLiteral("12,50")), "价格格式不正确！",
         TInputField::Price, -1},
        {dish(QStringLiteral("鱼"), QStringLiteral("-1")), "价格不能为负数！", TInputField::Price,
         -1},
        {dish(QStringLiteral("鱼"), QStringLiteral("12.345")), "价格格式不正确！",
         TInputField::Price, -1},
        {dish(QStringLiteral("鱼"), QStringLiteral("12.50")), "", TInputField::Title, -1},
        {dish(QStringLiteral("鱼"), QStringLiteral("0")), "", TInputField::Title, -1},
        {dish(QStringLiteral("鱼"), QStringLiteral("0.29")), "", TInputField::Title, -1},
        {dish(QStringLiteral("鱼"), QStringLiteral("1"), {sku("", "1", true), sku("小", "")}),
         "请输入做法价格！", TInputField::SkuPrice, 1},
        {dish(QStringLiteral("鱼"), QStringLiteral("1"), {sku("大", "2"), sku(" ", "x")}),
         "请输入做法名称！", TInputField::SkuName, 1},
        {dish(QStringLiteral("鱼"), QStringLiteral("1"), {sku("大", "2元")}),
         "做法价格格式不正确！", TInputField::SkuPrice, 0},
        {dish(QStringLiteral("鱼"), QStringLiteral("1"), {sku("大", "-2")}), "做法价格不能为负数！",
         TInputField::SkuPrice, 0},
        {dish(QStringLiteral("鱼"), QStringLiteral("1"), {sku("大", "2.001")}),
         "做法价格格式不正确！", TInputField::SkuPrice, 0},
    };
    for (const auto& c : cases) {
        const auto error = ValidateDish(c.input);
        const QString expected = QString::fromUtf8(c.message);
        if (expected.isEmpty()) {
            EXPECT_FALSE(error) << c.input.price.toStdString() << " "
                                << error->message.toStdString();
            continue;
        }
        ASSERT_TRUE(error) << c.message;
        EXPECT_EQ(error->message, expected);
        EXPECT_EQ(error->field, c.field) << c.message;
        EXPECT_EQ(error->row, c.row) << c.message;
    }

    TDishInput sorted = dish(QStringLiteral("鱼"), QStringLiteral("1"));
    sorted.sort = QStringLiteral("3.5");
    ASSERT_TRUE(ValidateDish(sorted));
    EXPECT_EQ(ValidateDish(sorted)->message, QStringLiteral("排序值必须是整数！"));
    sorted.sort = QStringLiteral("  ");
    EXPECT_FALSE(ValidateDish(sorted));
}

TEST_F(MasterEditTest, SortDefaultCountsDeletedRows) {
    EXPECT_EQ(GetMaxSortValue(*db, QStringLiteral("zel_caipin")) + 1, 1);
    addDish(QStringLiteral("鱼"), 10, 3);
    addDish(QStringLiteral("虾"), 10, 7, 0, 1);
    EXPECT_EQ(GetMaxSortValue(*db, QStringLiteral("zel_caipin")) + 1, 8);
    exec(QStringLiteral("INSERT INTO zel_desk (title, sort, deleted) VALUES ('A', 4, 1)"));
    EXPECT_EQ(GetMaxSortValue(*db, QStringLiteral("zel_desk")), 4);
    exec(QStringLiteral("DROP TABLE zel_desk_class"));
    EXPECT_EQ(GetMaxSortValue(*db, QStringLiteral("zel_desk_class")), 0);
}

TEST_F(MasterEditTest, ASecondSaveUpdatesTheDishAndItsSpecifications) {
    TDishInput input = dish(QStringLiteral(" 酸菜鱼 "), QStringLiteral("48"),
                            {newSku(QStringLiteral(" 小份 "), QStringLiteral("38")),
                             newSku(QStringLiteral("大份"), QStringLiteral("58.5"))});
    input.sort = QString();
    const TDishSaved first = SaveDish(*db, 0, input, kNow);
    EXPECT_TRUE(first.added);
    EXPECT_GT(first.id, 0);
    ASSERT_EQ(first.skuIds.size(), 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT title || '|' || price || '|' || sort || '|' || issku "
                                    "|| '|' || cid FROM zel_caipin")),
              QStringLiteral(" 酸菜鱼 |48.0|0|1|0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(title || '=' || price || '@' || rootid) "
                                    "FROM zel_caipin_sku")),
              QStringLiteral("小份=38.0@%1,大份=58.5@%1").arg(first.id));

    // The window takes the ids, then saves again with a changed price.
    for (int i = 0; i < input.skus.size(); ++i) {
        input.skus[i].SkuId = first.skuIds[i];
        input.skus[i].IsNew = false;
    }
    input.price = QStringLiteral("50");
    input.skus[1].price = QStringLiteral("60");
    const TDishSaved second = SaveDish(*db, first.id, input, kNow.addSecs(60));
    EXPECT_FALSE(second.added);
    EXPECT_EQ(second.skuIds, first.skuIds);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) || '|' || price || '|' || addtime FROM "
                                    "zel_caipin")),
              QStringLiteral("1|50.0|") + getunittime(kNow.addSecs(60)));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_caipin_sku")), QStringLiteral("2"));
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT price FROM zel_caipin_sku WHERE id=%1").arg(first.skuIds[1])),
        QStringLiteral("60"));

    const auto loaded = LoadDish(*db, first.id);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->title, QStringLiteral(" 酸菜鱼 "));
    EXPECT_EQ(loaded->price, 50);
    const auto skus = LoadDishSkus(*db, first.id);
    ASSERT_EQ(skus.size(), 2);
    EXPECT_EQ(skus[0].title, QStringLiteral("小份"));
}

TEST_F(MasterEditTest, DeletedSpecificationsCountOnlyAfterTheNextSave) {
    const TDishSaved saved = SaveDish(*db, 0,
                                      dish(QStringLiteral("面"), QStringLiteral("8"),
                                           {newSku(QStringLiteral("小"), QStringLiteral("6")),
                                            newSku(QStringLiteral("大"), QStringLiteral("9"))}),
                                      kNow);
    for (int32_t id : saved.skuIds)
        DeleteSku(*db, id);
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUM(deleted) FROM zel_caipin_sku")),
              QStringLiteral("2"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT issku FROM zel_caipin")), QStringLiteral("1"));
    EXPECT_TRUE(LoadDishSkus(*db, saved.id).isEmpty());

    SaveDish(*db, saved.id, dish(QStringLiteral("面"), QStringLiteral("8")), kNow);
    EXPECT_EQ(scalar(QStringLiteral("SELECT issku FROM zel_caipin")), QStringLiteral("0"));
}

TEST_F(MasterEditTest, AFailedSaveWritesNothing) {
    exec(QStringLiteral("DROP TABLE zel_caipin_sku"));
    try {
        SaveDish(*db, 0,
                 dish(QStringLiteral("面"), QStringLiteral("8"),
                      {newSku(QStringLiteral("小"), QStringLiteral("6"))}),
                 kNow);
        FAIL() << "no failure";
    } catch (const EMasterDataError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("保存做法失败: "))) << e.what();
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_caipin")), QStringLiteral("0"));
    EXPECT_THROW(DeleteSku(*db, 1), EMasterDataError);
}

TEST_F(MasterEditTest, TableEditorValidatesSavesAndReadsTheNewIdBack) {
    const struct {
        TDeskInput input;
        const char* message;
    } cases[] = {
        {{QStringLiteral(" "), QStringLiteral("A1"), QStringLiteral("x"), 0}, "请输入桌位名称！"},
        {{QStringLiteral("一号"), QString(), QStringLiteral("2a"), 0}, "排序值必须是整数！"},
        {{QStringLiteral("一号"), QString(), QString(), 0}, ""},
    };
    for (const auto& c : cases) {
        const auto error = ValidateDesk(c.input);
        EXPECT_EQ(error ? error->message : QString(), QString::fromUtf8(c.message));
    }

    TDeskInput input{QStringLiteral("一号 "), QStringLiteral(" A1 "), QString(), 3};
    const int32_t id = SaveDesk(*db, 0, input, kNow);
    EXPECT_GT(id, 0);
    input.title = QStringLiteral("一号桌");
    EXPECT_EQ(SaveDesk(*db, id, input, kNow), id);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) || '|' || title || '|' || bh || '|' || sort "
                                    "|| '|' || cid || '|' || stat || '|' || nums || '|' || price "
                                    "|| '|' || deleted FROM zel_desk")),
              QStringLiteral("1|一号桌|A1|0|3|0|0|0.0|0"));
    const auto loaded = LoadDesk(*db, id);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->bh, QStringLiteral("A1"));
    EXPECT_EQ(loaded->cid, 3);
}

TEST_F(MasterEditTest, CategoryEditorsDifferOnlyInTableAndSortCheck) {
    const struct {
        TClassKind kind;
        const char* title;
        const char* sort;
        const char* message;
    } cases[] = {
        {TClassKind::DishCategory, " ", "1", "请输入分类名称！"},
        {TClassKind::DishCategory, "热菜", "", "排序值必须为整数！"},
        {TClassKind::DishCategory, "热菜", "2 ", "排序值必须为整数！"},
        {TClassKind::DishCategory, "热菜", "2", ""},
        {TClassKind::TableArea, "大厅", "", "排序值必须为整数！"},
        {TClassKind::TableArea, "大厅", "2 ", ""},
        {TClassKind::TableArea, "大厅", "x", "排序值必须为整数！"},
    };
    for (const auto& c : cases) {
        const auto error =
            ValidateClass(c.kind, {QString::fromUtf8(c.title), QString::fromUtf8(c.sort)});
        EXPECT_EQ(error ? error->message : QString(), QString::fromUtf8(c.message))
            << c.title << "/" << c.sort;
    }

    for (TClassKind kind : {TClassKind::DishCategory, TClassKind::TableArea}) {
        const QString table = ClassTable(kind);
        const int32_t id =
            SaveClass(*db, kind, 0, {QStringLiteral("新分类"), QStringLiteral(" 4 ")});
        EXPECT_EQ(SaveClass(*db, kind, id, {QStringLiteral("改名"), QStringLiteral("5")}), id);
        EXPECT_EQ(
            scalar(QStringLiteral("SELECT COUNT(*) || '|' || title || '|' || sort FROM ") + table),
            QStringLiteral("1|改名|5"));
        const auto loaded = LoadClass(*db, kind, id);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->sort, QStringLiteral("5"));
        exec(QStringLiteral("DROP TABLE ") + table);
        EXPECT_THROW(SaveClass(*db, kind, id, {QStringLiteral("x"), QStringLiteral("1")}),
                     EMasterDataError);
    }
}

TEST_F(MasterEditTest, SavingARecordThatIsGoneWritesNothingAndSaysSo) {
    // Each editor's record, removed in one of the ways it can go.
    const int dishId = SaveDish(*db, 0, dish(QStringLiteral("面"), QStringLiteral("8")), kNow).id;
    const int deletedDish = addDish(QStringLiteral("虾"), 10, 0, 0, 1);
    const int desk = SaveDesk(*db, 0, {QStringLiteral("一号"), QString(), QString(), 0}, kNow);
    const int area =
        SaveClass(*db, TClassKind::TableArea, 0, {QStringLiteral("大厅"), QStringLiteral("1")});
    const int category =
        SaveClass(*db, TClassKind::DishCategory, 0, {QStringLiteral("热菜"), QStringLiteral("1")});
    exec(QStringLiteral("DELETE FROM zel_caipin WHERE id=%1").arg(dishId));
    exec(QStringLiteral("UPDATE zel_desk SET deleted=1 WHERE id=%1").arg(desk));
    exec(QStringLiteral("DELETE FROM zel_desk_class"));
    exec(QStringLiteral("DELETE FROM zel_caipin_class"));
    const QString before = scalar(QStringLiteral(
        "SELECT (SELECT group_concat(title || IFNULL(addtime, '')) FROM zel_caipin) || '/' || "
        "(SELECT group_concat(title || IFNULL(addtime, '')) FROM zel_desk) || '/' || "
        "(SELECT COUNT(*) FROM zel_caipin_sku)"));

    const TDishInput withSku = dish(QStringLiteral("改"), QStringLiteral("9"),
                                    {newSku(QStringLiteral("大"), QStringLiteral("2"))});
    const std::function<void()> saves[] = {
        [&] { SaveDish(*db, dishId, withSku, kNow.addSecs(60)); },
        [&] { SaveDish(*db, deletedDish, withSku, kNow.addSecs(60)); },
        [&] {
            SaveDesk(*db, desk, {QStringLiteral("改"), QString(), QString(), 0}, kNow.addSecs(60));
        },
        [&] {
            SaveClass(*db, TClassKind::TableArea, area,
                      {QStringLiteral("改"), QStringLiteral("1")});
        },
        [&] {
            SaveClass(*db, TClassKind::DishCategory, category,
                      {QStringLiteral("改"), QStringLiteral("1")});
        },
    };
    for (size_t i = 0; i < std::size(saves); ++i) {
        try {
            saves[i]();
            ADD_FAILURE() << "case " << i << ": saved";
        } catch (const EMasterDataError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("该记录已不存在，请刷新列表后重试"))
                << "case " << i;
        }
    }
    EXPECT_EQ(
        scalar(QStringLiteral(
            "SELECT (SELECT group_concat(title || IFNULL(addtime, '')) FROM zel_caipin) || '/' || "
            "(SELECT group_concat(title || IFNULL(addtime, '')) FROM zel_desk) || '/' || "
            "(SELECT COUNT(*) FROM zel_caipin_sku)")),
        before);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_desk_class")), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_caipin_class")), QStringLiteral("0"));
}

TEST_F(MasterEditTest, ANewCategoryOrAreaNeverGetsAnIdUsedBefore) {
    const struct {
        TClassKind kind;
        const char* holder; // the rows that point at a category or area by cid
    } cases[] = {
        {TClassKind::DishCategory,
         "INSERT INTO zel_caipin (title, cid, deleted) VALUES ('x', %1, 1)"},
        {TClassKind::TableArea, "INSERT INTO zel_desk (title, cid, deleted) VALUES ('x', %1, 1)"},
    };
    for (const auto& c : cases) {
        const QString table = ClassTable(c.kind);
        const auto add = [&](const char* title) {
            return SaveClass(*db, c.kind, 0, {QString::fromUtf8(title), QStringLiteral("1")});
        };
        // Rows that point at ids no category holds (older data, a category
        // deleted before) are not handed to a new one.
        exec(QString::fromUtf8(c.holder).arg(3));
        const int first = add("甲");
        EXPECT_EQ(first, 4) << table.toStdString();
        const int second = add("乙");
        EXPECT_EQ(second, 5);
        // Deleted, even with nothing left pointing at it, its id stays used.
        exec(QStringLiteral("DELETE FROM %1 WHERE id=%2").arg(table).arg(second));
        db.reset();
        db = std::make_unique<TSQLiteDatabase>(dbPath());
        EXPECT_EQ(add("丙"), 6);
        exec(QStringLiteral("DELETE FROM ") + table);
        EXPECT_EQ(add("丁"), 7);
        // An editor saving its record keeps the record's id.
        EXPECT_EQ(SaveClass(*db, c.kind, 7, {QStringLiteral("戊"), QStringLiteral("2")}), 7);
        EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(id || title) FROM ") + table),
                  QStringLiteral("7戊"));
    }
}

} // namespace
