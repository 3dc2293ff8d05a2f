#include "ordering/tiles/dishquantities.h"

#include "ordering/ordererror.h"
#include "store/sqlitedb.h"

QHash<int32_t, double> ReadDishQuantities(TSQLiteDatabase& db, const QString& DeskID) {
    QHash<int32_t, double> quantities;
    if (DeskID.isEmpty())
        return quantities;
    try {
        // DeskID is the order manager's: decimal digits only.
        const auto rows = db.GetTable(QStringLiteral("SELECT caipinid, SUM(quantity) FROM zel_cart "
                                                     "WHERE deskid = %1 GROUP BY caipinid")
                                          .arg(DeskID));
        for (; !rows->Eof(); rows->Next())
            quantities.insert(int32_t(rows->FieldAsInteger(0)), rows->FieldAsDouble(1));
    } catch (const std::exception& e) {
        throw EOrderError(QStringLiteral("获取菜品数量失败: ") + QString::fromUtf8(e.what()));
    }
    return quantities;
}
