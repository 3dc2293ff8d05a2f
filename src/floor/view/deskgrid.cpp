#include "floor/view/deskgrid.h"

#include <algorithm>

QPoint TDeskGrid::TilePos(int32_t Index) const {
    const int32_t step = kDeskTileSize + Spacing;
    return QPoint((Index % Columns) * step + FirstLeft, (Index / Columns) * step + 10);
}

int32_t TDeskGrid::ContentHeight(int32_t Count) const {
    if (Count <= 0)
        return 0;
    return TilePos(Count - 1).y() + kDeskTileSize + 10;
}

TDeskGrid DeskGrid(int32_t Width) {
    TDeskGrid grid;
    const int32_t available = Width - 20;
    grid.Columns = std::max(1, available / (kDeskTileSize + kDeskTileSpacing));
    if (grid.Columns > 1) {
        grid.Spacing = (available - grid.Columns * kDeskTileSize) / (grid.Columns + 1);
        grid.FirstLeft = grid.Spacing;
    } else {
        grid.FirstLeft = (Width - kDeskTileSize) / 2;
    }
    return grid;
}
