#include "floor/listconfig.h"

#include "common/myfun.h"
#include "store/SQLiteORM.h"

namespace {

QString field(const TSQLiteTable& row, const char* name) {
    return TSQLiteORM::GetFieldAsString(&row, QString::fromLatin1(name));
}

QList<TListColumn> withIcons(QList<TListColumn> columns) {
    columns.append({QStringLiteral("编辑"), 50, TListCell::EditIcon});
    columns.append({QStringLiteral("删除"), 50, TListCell::DeleteIcon});
    return columns;
}

// Dish and table lists filter the joined rows of their own table.
QString joinedTitleLike(const QString& keyword) {
    return QStringLiteral("`A1`.`deleted`=0 AND `A1`.`title` LIKE '%") + keyword +
           QStringLiteral("%'");
}

QString titleLike(const QString& keyword) {
    return QStringLiteral("`title` LIKE '%") + keyword + QStringLiteral("%'");
}

TListConfig classList(const QString& table) {
    TListConfig c;
    c.table = table;
    c.baseSQL = QStringLiteral("SELECT `id`,`title`,`sort` FROM `") + table + QLatin1Char('`');
    c.order = QStringLiteral("sort ASC");
    c.keywordCondition = titleLike;
    c.columns = withIcons({{QStringLiteral("编号"), 50},
                           {QStringLiteral("分类名称"), 70},
                           {QStringLiteral("排序号"), 80}});
    c.readRow = [](const TSQLiteTable& row) {
        return QStringList{field(row, "id"), field(row, "title"), field(row, "sort")};
    };
    c.deletion = TListDeletion::Remove;
    c.checkFileExists = true;
    c.rowHeight = 32;
    c.fontPointSize = 10;
    return c;
}

} // namespace

QString NormaliseKeyword(const QString& text) {
    QString keyword = text.trimmed();
    keyword.remove(QLatin1Char('\''));
    return keyword;
}

TListConfig DishListConfig() {
    TListConfig c;
    c.table = QStringLiteral("zel_caipin");
    c.baseSQL = QStringLiteral(
        "SELECT `A1`.`id`,`A1`.`title`,`A1`.`price`,`A1`.`stock`,`A1`.`addtime`,`A1`.`issku`,"
        "`A1`.`sort`,`A1`.`iszk`,`A2`.`title` AS `cname` FROM zel_caipin AS `A1` LEFT JOIN "
        "`zel_caipin_class` AS `A2` ON `A1`.`cid`=`A2`.`id`");
    c.countSQL = QStringLiteral("SELECT COUNT(*) FROM zel_caipin AS `A1` LEFT JOIN "
                                "`zel_caipin_class` AS `A2` ON `A1`.`cid`=`A2`.`id`");
    c.initialCondition = QStringLiteral("`A1`.`deleted`=0");
    c.order = QStringLiteral("`A1`.`sort` ASC");
    c.keywordCondition = joinedTitleLike;
    c.columns = withIcons({{QStringLiteral("编号"), 50},
                           {QStringLiteral("菜品名称"), 70},
                           {QStringLiteral("菜品价格"), 80},
                           {QStringLiteral("所属分类"), 150},
                           {QStringLiteral("排序号"), 50},
                           {QStringLiteral("多规格"), 80}});
    c.readRow = [](const TSQLiteTable& row) {
        // A stored value that is no number stops the page with its conversion error.
        const double price = row.FieldAsDouble(row.FieldIndex(QStringLiteral("price")));
        const QString issku = field(row, "issku").trimmed();
        if (!IsInt(issku))
            throw ESQLiteException(QStringLiteral("\"%1\" 不是有效的整数值").arg(issku));
        return QStringList{field(row, "id"),
                           field(row, "title"),
                           QStringLiteral("￥") + QString::number(price, 'f', 2),
                           field(row, "cname"),
                           field(row, "sort"),
                           issku.toInt() == 1 ? QStringLiteral("多规格") : QStringLiteral("无")};
    };
    c.deletion = TListDeletion::Soft;
    return c;
}

TListConfig DeskListConfig() {
    TListConfig c;
    c.table = QStringLiteral("zel_desk");
    c.baseSQL = QStringLiteral("SELECT `A1`.`id`,`A1`.`title`,`A1`.`bh`,`A1`.`sort`,`A2`.`title` "
                               "AS `cname` FROM zel_desk AS `A1` LEFT JOIN `zel_desk_class` AS "
                               "`A2` ON `A1`.`cid`=`A2`.`id`");
    c.countSQL = QStringLiteral("SELECT COUNT(*) FROM zel_desk AS `A1` LEFT JOIN "
                                "`zel_desk_class` AS `A2` ON `A1`.`cid`=`A2`.`id`");
    c.initialCondition = QStringLiteral("`A1`.`deleted`=0");
    c.order = QStringLiteral("`A1`.`sort` ASC");
    c.keywordCondition = joinedTitleLike;
    c.columns = withIcons({{QStringLiteral("编号"), 50},
                           {QStringLiteral("桌位名称"), 70},
                           {QStringLiteral("桌位编号"), 100},
                           {QStringLiteral("所属分类"), 150},
                           {QStringLiteral("排序号"), 60}});
    c.readRow = [](const TSQLiteTable& row) {
        return QStringList{field(row, "id"), field(row, "title"), field(row, "bh"),
                           field(row, "cname"), field(row, "sort")};
    };
    c.deletion = TListDeletion::Soft;
    return c;
}

TListConfig DishClassListConfig() {
    return classList(QStringLiteral("zel_caipin_class"));
}

TListConfig DeskClassListConfig() {
    return classList(QStringLiteral("zel_desk_class"));
}
