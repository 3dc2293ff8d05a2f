#pragma once

// Where the dish tiles go: 200 x 85 tiles on a 210 x 95 pitch, as many columns
// as the scroll area's width allows (less 20 pixels kept for a scroll bar).

#include <QPoint>

#include <cstdint>

struct TDishGrid {
    static constexpr int32_t ItemWidth = 200;
    static constexpr int32_t ItemHeight = 85;
    static constexpr int32_t Margin = 5;

    int32_t AvailableWidth = 0;
    int32_t ColCount = 1;
    int32_t RowCount = 0;
    int32_t ContainerHeight = Margin;

    // Top-left corner of tile Index (0-based, list order) in the container.
    QPoint TilePos(int32_t Index) const;
};

// The grid of DishCount tiles in a scroll area whose client width is ClientWidth.
TDishGrid DishGrid(int32_t ClientWidth, int32_t DishCount);
