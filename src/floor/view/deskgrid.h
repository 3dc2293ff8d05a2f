#pragma once

// Placement of the square table tiles in a tile area of a given width.

#include <QPoint>

#include <cstdint>

constexpr int32_t kDeskTileSize = 120;
constexpr int32_t kDeskTileSpacing = 10;

struct TDeskGrid {
    int32_t Columns = 1;
    int32_t Spacing = kDeskTileSpacing; // between tiles, horizontally and vertically
    int32_t FirstLeft = 0;

    // Top-left corner of the Index-th tile (from 0).
    QPoint TilePos(int32_t Index) const;
    // Scroll height for Count tiles: the last tile's top plus its height plus 10.
    int32_t ContentHeight(int32_t Count) const;
};

// Several columns share the free width evenly; a single column is centred.
TDeskGrid DeskGrid(int32_t Width);
