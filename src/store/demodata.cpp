#include "store/demodata.h"

#include "store/SQLiteORM.h"
#include "store/floatformat.h"
#include "store/sqlitedb.h"

namespace {

struct TDemoDish {
    const char* title;
    double price;
};

const TDemoDish kDishes[] = {
    {"乐山钵钵鸡", 58.8}, {"盐菜回锅肉", 26.8},     {"水煮肉片(中份)", 38.8}, {"酸辣土豆丝", 13.5},
    {"鱼香肉丝", 27.8},   {"印象毛血旺(大份)", 56}, {"肉沫茄子", 16.8},       {"陈麻婆豆腐", 13.8},
    {"玉米虾仁", 39.8},   {"莴笋木耳肉片", 26.8},   {"四川麻辣口水鸡", 23},   {"土豆烧鸡", 36.8},
    {"宫保鸡丁", 29.8},   {"夫妻肺片", 38.8},       {"烟笋炒腊肉", 37.8},     {"干煸肥肠", 56.8},
    {"泡椒腰花", 48.8},   {"香辣虾", 46},           {"清炒上海青", 16},       {"泡椒鲜鸭血", 18.8},
};

constexpr int kDemoDesks = 20;
constexpr int kDemoDishes = int(sizeof(kDishes) / sizeof(kDishes[0]));

int32_t countAll(TSQLiteDatabase& db, const QString& table) {
    TSQLiteORM orm(&db, table);
    return orm.Count();
}

QString exceptionText(const std::exception& e) {
    return QString::fromUtf8(e.what());
}

} // namespace

QString AddTestData(const QString& FileName, const TConfirmFn& Confirm, const QString& AddTime) {
    try {
        int32_t n = 0;
        {
            TSQLiteDatabase db(FileName);
            n = countAll(db, QStringLiteral("zel_desk"));
        }
        if (n != 0)
            return QStringLiteral("系统中已存在基础数据（当前有 %1 个桌位）").arg(n);
        if (!Confirm || !Confirm(QStringLiteral("还没有桌位，是否添加数据体验？可一键删除,"
                                                "添加桌位后不再提示。")))
            return QStringLiteral("用户取消添加体验数据");
    } catch (const std::exception& e) {
        return QStringLiteral("检查基础数据失败: ") + exceptionText(e);
    }
    try {
        QString result = AddTestDeskData(FileName, AddTime);
        if (result.contains(QStringLiteral("失败")))
            return result;
        result = AddTestCaipinData(FileName, AddTime);
        if (result.contains(QStringLiteral("失败")))
            return result;
        return QStringLiteral("测试数据添加完成！");
    } catch (const std::exception& e) {
        return QStringLiteral("添加测试数据过程中发生错误: ") + exceptionText(e);
    }
}

QString AddTestDeskData(const QString& FileName, const QString& AddTime) {
    try {
        TSQLiteDatabase db(FileName);
        const int32_t n = countAll(db, QStringLiteral("zel_desk"));
        if (n != 0)
            return QStringLiteral("数据库中已有 %1 个桌位，无需添加").arg(n);
        TSQLiteORM desks(&db, QStringLiteral("zel_desk"));
        for (int i = 1; i <= kDemoDesks; ++i) {
            const QString code = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
            const QString title = QStringLiteral("桌位") + code;
            const TValueDict row{{QStringLiteral("title"), title},
                                 {QStringLiteral("bh"), code},
                                 {QStringLiteral("cid"), 0},
                                 {QStringLiteral("sort"), i},
                                 {QStringLiteral("nums"), 0},
                                 {QStringLiteral("price"), QStringLiteral("0.00")},
                                 {QStringLiteral("stat"), 0},
                                 {QStringLiteral("istest"), 1},
                                 {QStringLiteral("addtime"), AddTime}};
            if (!desks.Add(row))
                return QStringLiteral("插入桌位数据失败: ") + title;
        }
        return QStringLiteral("成功添加 %1 个测试桌位").arg(kDemoDesks);
    } catch (const std::exception& e) {
        return QStringLiteral("添加桌位数据失败: ") + exceptionText(e);
    }
}

QString AddTestCaipinData(const QString& FileName, const QString& AddTime) {
    try {
        TSQLiteDatabase db(FileName);
        if (countAll(db, QStringLiteral("zel_caipin")) != 0)
            return QStringLiteral("数据库中已有菜品数据，无需添加");
        TSQLiteORM dishes(&db, QStringLiteral("zel_caipin"));
        for (int i = 0; i < kDemoDishes; ++i) {
            const QString title = QString::fromUtf8(kDishes[i].title);
            const TValueDict row{{QStringLiteral("title"), title},
                                 {QStringLiteral("titleen"), QStringLiteral("")},
                                 {QStringLiteral("price"), FloatToStrGeneral(kDishes[i].price)},
                                 {QStringLiteral("stock"), 0},
                                 {QStringLiteral("sort"), i + 1},
                                 // In no category: none is made for them, since a
                                 // category cannot be told apart as demonstration
                                 // data and would outlive its removal.
                                 {QStringLiteral("cid"), 0},
                                 {QStringLiteral("iszk"), 1},
                                 {QStringLiteral("istest"), 1},
                                 {QStringLiteral("stat"), 0},
                                 {QStringLiteral("addtime"), AddTime}};
            if (!dishes.Add(row))
                return QStringLiteral("插入菜品数据失败: ") + title;
        }
        return QStringLiteral("成功添加 %1 个测试菜品").arg(kDemoDishes);
    } catch (const std::exception& e) {
        return QStringLiteral("添加测试数据失败: ") + exceptionText(e);
    }
}

int32_t CountTestDesks(const QString& FileName) {
    TSQLiteDatabase db(FileName);
    TSQLiteORM desks(&db, QStringLiteral("zel_desk"));
    return desks.Where(QStringLiteral("istest=1")).Count();
}

bool DeleteTestData(const QString& FileName, QString& Error) {
    Error.clear();
    try {
        TSQLiteDatabase db(FileName);
        QStringList errors;
        for (const QString& table : {QStringLiteral("zel_desk"), QStringLiteral("zel_caipin")}) {
            TSQLiteORM orm(&db, table);
            if (!orm.Where(QStringLiteral("istest=1")).Delete())
                errors << table + QStringLiteral(": ") + orm.LastError();
        }
        Error = errors.join(QStringLiteral("; "));
        return errors.isEmpty();
    } catch (const std::exception& e) {
        Error = exceptionText(e);
        return false;
    }
}
