#include "billing/table/deskview.h"

#include "billing/table/deskops.h"
#include "common/myfun.h"
#include "store/SQLiteORM.h"
#include "store/floatformat.h"

#include <cmath>

namespace {

// Amounts this large are beyond cents in a double; they are left to doubles.
constexpr double kExactLimit = 1e14;

} // namespace

std::optional<TDeskDetailsRow> ReadDeskRow(TSQLiteDatabase& db, int32_t DeskID) {
    TSQLiteORM desk(&db, QStringLiteral("zel_desk"));
    const auto row = desk.Where(QStringLiteral("id=%1").arg(DeskID)).First();
    RaiseIfFailed<EDeskError>(desk);
    if (row->Eof())
        return std::nullopt;
    const auto text = [&](const char* name) {
        return TSQLiteORM::GetFieldAsString(row.get(), QString::fromLatin1(name));
    };
    TDeskDetailsRow r;
    r.title = text("title");
    r.bh = text("bh");
    r.nums = text("nums");
    r.stat = text("stat");
    r.price = SafeStrToFloat(text("price"));
    r.fwy = text("fwy");
    r.ydtruename = text("ydtruename");
    r.ydtel = text("ydtel");
    r.yj = text("yj");
    return r;
}

TDeskLine MakeDeskLine(int32_t ID, const QString& Title, double Quantity, double OnePrice,
                       int32_t Stat) {
    TDeskLine line;
    line.ID = ID;
    line.Stat = Stat;
    line.Title = Title;
    line.Quantity = ShortestNumber(Quantity);
    line.OnePrice = FormatPno(OnePrice, 2);
    // From the texts shown, so the subtotal is what the operator can check.
    line.Subtotal = FormatFloat00(SafeStrToFloat(line.OnePrice) * SafeStrToFloat(line.Quantity));
    line.StatText = getcaipinstat(Stat);
    return line;
}

TDeskLines SumDeskLines(const QList<TDeskLine>& Lines) {
    TDeskLines sums;
    sums.Lines = Lines;
    for (const TDeskLine& line : Lines) {
        if (line.Stat == 7)
            continue;
        sums.TotalAmount += SafeStrToFloat(line.Subtotal);
        sums.TotalDishes += SafeStrToFloat(line.Quantity);
    }
    // Sums of decimal texts, kept free of binary residue (0.1 + 0.2 is 0.3).
    sums.TotalAmount = SafeStrToFloat(FormatFloat00(sums.TotalAmount));
    if (std::fabs(sums.TotalDishes) < kExactLimit)
        sums.TotalDishes = TCurrency::FromDouble(sums.TotalDishes).ToDouble();
    return sums;
}

QString DishCountText(const TDeskLines& Lines) {
    return ShortestNumber(Lines.TotalDishes);
}

QString AmountText(const TDeskLines& Lines) {
    return FormatFloat00(Lines.TotalAmount);
}

TDeskLines ReadDeskLines(TSQLiteDatabase& db, int32_t DeskID) {
    TSQLiteORM orm(&db, QStringLiteral("zel_orders_detail"));
    orm.Where(QStringLiteral("deskid=%1 AND issettle=0 AND stat in(0,1,2,3,4,5,6,7)").arg(DeskID))
        .Order(QStringLiteral("id ASC"));
    const auto rows = orm.Select();
    RaiseIfFailed<EDeskError>(orm);
    QList<TDeskLine> lines;
    lines.reserve(rows->RowCount());
    for (; !rows->Eof(); rows->Next()) {
        const TSQLiteTable* t = rows.get();
        lines.append(MakeDeskLine(TSQLiteORM::GetFieldAsInteger(t, QStringLiteral("id")),
                                  TSQLiteORM::GetFieldAsString(t, QStringLiteral("title")),
                                  TSQLiteORM::GetFieldAsDouble(t, QStringLiteral("quantity")),
                                  TSQLiteORM::GetFieldAsDouble(t, QStringLiteral("oneprice")),
                                  TSQLiteORM::GetFieldAsInteger(t, QStringLiteral("stat"))));
    }
    return SumDeskLines(lines);
}

QString ShortestNumber(double value) {
    return FloatToStrGeneral(value);
}

std::optional<QString> ComputeChange(const QString& received, const QString& totalText) {
    const QString typed = received.trimmed();
    if (!IsNumeric(typed))
        return std::nullopt;
    const QString total = QString(totalText).remove(QStringLiteral("￥")).trimmed();
    const double r = SafeStrToFloat(typed);
    const double t = SafeStrToFloat(total);
    if (std::fabs(r) < kExactLimit && std::fabs(t) < kExactLimit) {
        // In ten-thousandths, so 100 - 88.51 is 11.49 and not 11.4899999.
        const int64_t raw = SafeStrToCurr(typed).raw - SafeStrToCurr(total).raw;
        return FormatFloat00(double(raw) / 10000.0);
    }
    return FormatFloat00(r - t);
}
