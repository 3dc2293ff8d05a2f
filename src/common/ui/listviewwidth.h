#pragma once

// Fitting one column of a report list so all columns fill the list's outer
// width: that column gets the width minus the other columns minus an allowance.

#include <cstdint>

class QTableView;
class QTreeView;

// Allowance 5 pixels.
void listviewwidth(int32_t k, QTreeView* view);
void listviewwidth(int32_t k, QTableView* view);

// Allowance 4 pixels.
void AdjustListViewColumnWidth(QTreeView* ListView, int32_t AutoSizeColumnIndex);
void AdjustListViewColumnWidth(QTableView* ListView, int32_t AutoSizeColumnIndex);
