#pragma once

// Basket pieces of every dish of one table in a single read, for the dish
// tiles: what TOrderManager::GetDishQuantity gives for one dish (stored rows
// of all specifications together), without a query per tile.

#include <QHash>
#include <QString>

#include <cstdint>

class TSQLiteDatabase;

// Dish id -> pieces; dishes without a basket row are missing (count them as
// 0). Empty for no table. A failed read raises EOrderError with the prefix
// "获取菜品数量失败: ".
QHash<int32_t, double> ReadDishQuantities(TSQLiteDatabase& db, const QString& DeskID);
