#pragma once

// The small editors are laid out at fixed places; their content scrolls in
// the rare window too small for it.

#include <QSize>

class QWidget;

// Puts a content panel of the given size into window (which gets a layout of
// its own) and returns the panel the controls go on.
QWidget* FixedContent(QWidget* window, const QSize& size);
