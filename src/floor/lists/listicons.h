#pragma once

// The action icons of the list windows (32 x 32): a pencil for edit, a bin
// for delete, a sheet with lines for details, a printer for print; drawn once.

#include "floor/lists/listconfig.h"

#include <QPixmap>

constexpr int kListIconSize = 32;

const QPixmap& EditListIcon();
const QPixmap& DeleteListIcon();
const QPixmap& DetailListIcon();
const QPixmap& PrintListIcon();

// The icon of an action cell at size x size pixels; a null pixmap for a text cell.
QPixmap ListIcon(TListCell cell, int size);
