#include "floor/lists/listconfig.h"

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

TListConfig classList(const QString& table, const QString& members, const QString& noun) {
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
    c.membersTable = members;
    c.memberNoun = noun;
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

QString DeskDeleteRefusal(TSQLiteDatabase& db, const QString& id) {
    if (!IsInt(id))
        return QString();
    auto desk = db.GetTable(
        QStringLiteral("SELECT `title`,`bh`,`stat` FROM zel_desk WHERE id = %1").arg(id));
    if (desk->Eof())
        return QString();
    // A soft-deleted table hides its bill from the floor for good, so any
    // sign of one refuses: the occupied state, open lines, a basket.
    bool open = field(*desk, "stat").trimmed() == QStringLiteral("1");
    if (!open) {
        auto lines = db.GetTable(QStringLiteral("SELECT COUNT(*) FROM zel_orders_detail WHERE "
                                                "deskid = %1 AND issettle=0 AND stat>=0 AND "
                                                "stat<=7")
                                     .arg(id));
        open = lines->FieldAsInteger(0) > 0;
    }
    if (!open) {
        auto cart = db.GetTable(
            QStringLiteral("SELECT COUNT(*) FROM zel_cart WHERE deskid = %1 AND quantity>0")
                .arg(id));
        open = cart->FieldAsInteger(0) > 0;
    }
    if (!open)
        return QString();
    QString name = QStringLiteral("桌位 \"") + field(*desk, "title") + QLatin1Char('"');
    const QString bh = field(*desk, "bh").trimmed();
    if (!bh.isEmpty())
        name += QStringLiteral("（") + bh + QStringLiteral("）");
    return name + QStringLiteral("还有未结账的订单，请先结算或清台后再删除");
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
    c.deleteRefusal = DeskDeleteRefusal;
    return c;
}

TListConfig DishClassListConfig() {
    return classList(QStringLiteral("zel_caipin_class"), QStringLiteral("zel_caipin"),
                     QStringLiteral("菜品"));
}

TListConfig DeskClassListConfig() {
    return classList(QStringLiteral("zel_desk_class"), QStringLiteral("zel_desk"),
                     QStringLiteral("桌位"));
}
