#include "ordering/tiles/dishgrid.h"

#include <algorithm>

namespace {

constexpr int32_t kPitchX = TDishGrid::ItemWidth + 2 * TDishGrid::Margin;
constexpr int32_t kPitchY = TDishGrid::ItemHeight + 2 * TDishGrid::Margin;

} // namespace

QPoint TDishGrid::TilePos(int32_t Index) const {
    return {kPitchX * (Index % ColCount) + Margin, kPitchY * (Index / ColCount) + Margin};
}

TDishGrid DishGrid(int32_t ClientWidth, int32_t DishCount) {
    TDishGrid grid;
    grid.AvailableWidth = ClientWidth - 20;
    grid.ColCount = std::max(1, grid.AvailableWidth / kPitchX);
    grid.RowCount = std::max(0, (DishCount + grid.ColCount - 1) / grid.ColCount);
    grid.ContainerHeight = kPitchY * grid.RowCount + TDishGrid::Margin;
    return grid;
}
