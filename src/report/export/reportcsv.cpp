#include "report/export/reportcsv.h"

#include <QSaveFile>
#include <QStringList>

namespace {

// Spreadsheets run a cell that starts like a formula; table codes and waiter
// names are typed by users, so such a text is kept as text.
bool formulaLike(const QString& text) {
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

QString quoted(const QString& cell) {
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
        !cell.contains(QLatin1Char('\r')) && !cell.contains(QLatin1Char('\n')))
        return cell;
    QString out = cell;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

// Numbers this program wrote are left for the spreadsheet to read as numbers.
QString csvCell(const TReportCell& cell) {
    switch (cell.Kind) {
    case TReportCell::TKind::Count:
        return QString::number(cell.Whole);
    case TReportCell::TKind::Money:
        return CentsText(cell.Whole);
    case TReportCell::TKind::Quantity:
        return QuantityText(cell.Quantity);
    case TReportCell::TKind::Text:
    case TReportCell::TKind::Time:
        break;
    }
    return quoted(formulaLike(cell.Text) ? QLatin1Char('\'') + cell.Text : cell.Text);
}

class TCsvWriter {
public:
    explicit TCsvWriter(const QString& target) : FFile(target), FTarget(target) {
        if (!FFile.open(QIODevice::WriteOnly))
            fail();
        write(QByteArrayLiteral("\xEF\xBB\xBF"));
    }

    void Row(const TReportRow& cells) {
        QStringList texts;
        for (const TReportCell& cell : cells)
            texts << csvCell(cell);
        write(texts.join(QLatin1Char(',')).toUtf8() + QByteArrayLiteral("\r\n"));
    }

    void Commit() {
        if (!FFile.commit())
            fail();
    }

private:
    void write(const QByteArray& bytes) {
        if (FFile.write(bytes) != bytes.size())
            fail();
    }

    [[noreturn]] void fail() {
        throw EReportExportError(QStringLiteral("无法写入 ") + FTarget + QStringLiteral("：") +
                                 FFile.errorString());
    }

    QSaveFile FFile;
    QString FTarget;
};

} // namespace

TBusinessReport WriteReportCsv(const QString& dbFile, const TReportPeriod& period,
                               const QString& target) {
    TCsvWriter csv(target);
    const TBusinessReport report =
        ReadReportRows(dbFile, period, [&csv](const TReportRow& row) { csv.Row(row); });
    csv.Commit();
    return report;
}
