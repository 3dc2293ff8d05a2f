#pragma once

// The action icons of the list windows (32 x 32): a pencil for edit, a bin
// for delete, drawn once.

#include <QPixmap>

constexpr int kListIconSize = 32;

const QPixmap& EditListIcon();
const QPixmap& DeleteListIcon();
