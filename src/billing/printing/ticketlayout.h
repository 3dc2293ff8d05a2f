#pragma once

// Builds a ticket layout document row by row: "[", every row followed by a
// comma, "]". Texts go in as JSON strings.

#include "billing/printing/ticketlayouts.h"
#include "billing/printing/ticketsettings.h"
#include "common/clock.h"

#include <QString>
#include <QStringList>

class TLayout {
public:
    void Row(const QString& row) { FText += row + QLatin1Char(','); }
    QString Text() const { return FText + QLatin1Char(']'); }

    void Title(const QString& title) {
        Row(QStringLiteral("[{\"title\":\"") + JsonEscape(title) + QStringLiteral("\"}]"));
    }
    void Dash() { Row(QStringLiteral("[{\"title\":\"---\",\"isline\":1}]")); }
    void Date() {
        Title(QStringLiteral("日期：") +
              zclock::Now().toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    }
    void Table(const TTicketSettings& s, const QString& bh) {
        const QString label = s.Edit(QStringLiteral("lab_zwhmc")).trimmed();
        const bool colon = label.endsWith(QStringLiteral("：")) || label.endsWith(QLatin1Char(':'));
        Title(label + (colon ? QString() : QStringLiteral("：")) + bh);
    }
    void ReceiptHeading() {
        Row(QStringLiteral("[{\"title\":\"菜品名称\"},{\"title\":\"数量\"},{\"title\":\"小计\"}]"));
    }
    void KitchenHeading() {
        Row(QStringLiteral("[{\"title\":\"菜品名称和做法\"},{\"title\":\"数量\"}]"));
    }
    // Cells that all carry the same strike flag, as a string.
    void Line(const QStringList& titles, bool returned) {
        const QString flag = returned ? QStringLiteral("1") : QStringLiteral("0");
        QStringList cells;
        for (const QString& t : titles)
            cells << QStringLiteral("{\"title\":\"") + JsonEscape(t) +
                         QStringLiteral("\",\"isdel\":\"") + flag + QStringLiteral("\"}");
        Row(QLatin1Char('[') + cells.join(QLatin1Char(',')) + QLatin1Char(']'));
    }
    void Centred(const QString& title, const QString& extra) {
        Row(QStringLiteral("[{\"title\":\"") + JsonEscape(title) + QStringLiteral("\",") + extra +
            QStringLiteral("\"iscenter\":1}]"));
    }
    void Address(const QString& address) {
        Row(QStringLiteral("[{\"title\":\"地址：") + JsonEscape(address) +
            QStringLiteral("\",\"iskg\":1}]"));
    }
    void Phone(const QString& tel) { Title(QStringLiteral("电话：") + tel); }

private:
    QString FText = QStringLiteral("[");
};
