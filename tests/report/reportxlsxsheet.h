#pragma once

// An .xlsx file read back as a spreadsheet would: its first sheet's cells
// with their type, value and number format, through `unzip -p`.

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

struct TXlsxCell {
    QString Type;   // the `t` attribute: "s", "inlineStr", "str", "" for a number
    QString Value;  // <v> of a number, the text of a string
    QString Format; // the number format of its style: "General", "0.00", ...
    bool IsText() const { return Type == QLatin1String("s") || Type == QLatin1String("inlineStr"); }
    bool IsNumber() const { return Type.isEmpty() || Type == QLatin1String("n"); }
};

class TXlsxSheet {
public:
    explicit TXlsxSheet(const QString& file) {
        const QStringList shared = sharedStrings(member(file, "xl/sharedStrings.xml"));
        const QList<QString> formats = styleFormats(member(file, "xl/styles.xml"));
        readSheet(member(file, "xl/worksheets/sheet1.xml"), shared, formats);
    }

    // Rows from the top, 0 first; a row without cells is empty.
    const QList<QList<TXlsxCell>>& Rows() const { return FRows; }
    bool Ok() const { return FOk; }

    // The text a cell shows: numbers in their format, dates as
    // "yyyy-MM-dd hh:mm:ss".
    static QString Shown(const TXlsxCell& cell) {
        if (!cell.IsNumber())
            return cell.Value;
        const double v = cell.Value.toDouble();
        if (cell.Format == QLatin1String("0.00"))
            return QString::number(v, 'f', 2);
        if (cell.Format.contains(QLatin1String("yy"))) {
            const qint64 seconds = qRound64(v * 86400);
            return QDateTime(QDate(1899, 12, 30).addDays(seconds / 86400),
                             QTime(0, 0).addSecs(int(seconds % 86400)))
                .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        }
        return QString::number(v, 'g', 15);
    }

private:
    QByteArray member(const QString& file, const char* name) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"),
                    {QStringLiteral("-p"), file, QString::fromLatin1(name)});
        unzip.waitForFinished(30000);
        if (unzip.exitStatus() != QProcess::NormalExit || unzip.exitCode() != 0) {
            // A workbook may keep every string inline.
            if (QByteArray(name) != "xl/sharedStrings.xml")
                FOk = false;
            return {};
        }
        return unzip.readAllStandardOutput();
    }

    static QStringList sharedStrings(const QByteArray& xml) {
        QStringList out;
        QXmlStreamReader r(xml);
        QString current;
        bool inItem = false;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == QLatin1String("si")) {
                inItem = true;
                current.clear();
            } else if (r.isStartElement() && r.name() == QLatin1String("t") && inItem) {
                current += r.readElementText();
            } else if (r.isEndElement() && r.name() == QLatin1String("si")) {
                out << current;
                inItem = false;
            }
        }
        return out;
    }

    // The number format of each cell style, by its index.
    static QList<QString> styleFormats(const QByteArray& xml) {
        QHash<int, QString> codes{{0, QStringLiteral("General")},
                                  {1, QStringLiteral("0")},
                                  {2, QStringLiteral("0.00")},
                                  {14, QStringLiteral("m/d/yyyy")},
                                  {22, QStringLiteral("m/d/yyyy h:mm")}};
        QList<QString> out;
        QXmlStreamReader r(xml);
        bool inXfs = false;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == QLatin1String("numFmt"))
                codes.insert(r.attributes().value(QLatin1String("numFmtId")).toInt(),
                             r.attributes().value(QLatin1String("formatCode")).toString());
            else if (r.isStartElement() && r.name() == QLatin1String("cellXfs"))
                inXfs = true;
            else if (r.isEndElement() && r.name() == QLatin1String("cellXfs"))
                inXfs = false;
            else if (inXfs && r.isStartElement() && r.name() == QLatin1String("xf"))
                out << codes.value(r.attributes().value(QLatin1String("numFmtId")).toInt(),
                                   QStringLiteral("?"));
        }
        return out;
    }

    // "AB12" as 0-based row and column.
    static void reference(const QString& ref, int& row, int& col) {
        col = 0;
        qsizetype i = 0;
        for (; i < ref.size() && ref[i].isLetter(); ++i)
            col = col * 26 + (ref[i].unicode() - 'A' + 1);
        --col;
        row = ref.mid(i).toInt() - 1;
    }

    void readSheet(const QByteArray& xml, const QStringList& shared,
                   const QList<QString>& formats) {
        QXmlStreamReader r(xml);
        TXlsxCell* cell = nullptr;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == QLatin1String("c")) {
                int row = 0;
                int col = 0;
                reference(r.attributes().value(QLatin1String("r")).toString(), row, col);
                while (FRows.size() <= row)
                    FRows.append(QList<TXlsxCell>());
                while (FRows[row].size() <= col)
                    FRows[row].append({QStringLiteral("<none>"), {}, {}});
                cell = &FRows[row][col];
                cell->Type = r.attributes().value(QLatin1String("t")).toString();
                cell->Format = formats.value(r.attributes().value(QLatin1String("s")).toInt(),
                                             QStringLiteral("?"));
            } else if (cell && r.isStartElement() && r.name() == QLatin1String("v")) {
                const QString v = r.readElementText();
                cell->Value = cell->Type == QLatin1String("s") ? shared.value(v.toInt()) : v;
            } else if (cell && r.isStartElement() && r.name() == QLatin1String("t")) {
                cell->Value += r.readElementText();
            } else if (r.isEndElement() && r.name() == QLatin1String("c")) {
                cell = nullptr;
            }
        }
        if (r.hasError())
            FOk = false;
    }

    QList<QList<TXlsxCell>> FRows;
    bool FOk = true;
};
