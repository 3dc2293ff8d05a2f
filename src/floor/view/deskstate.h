#pragma once

// What a tile shows for a table: state text and colour (the state is the text
// of zel_desk.stat), amount and guest count.

#include <QColor>
#include <QString>

QString DeskStateText(const QString& stat);  // "空闲", "占用" or "其他"
QColor DeskStateColor(const QString& stat);  // light green, light blue or light pink
QString DeskPriceText(double price);         // "￥" and the amount cut to two decimals
QString DeskGuestsText(const QString& nums); // "4人"
