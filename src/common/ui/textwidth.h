#pragma once

#include <QFont>
#include <QString>

#include <cstdint>

// The default user-interface font at 10 points, the font notifications are
// measured and shown with.
QFont MessageFont();

// Width in pixels of Text drawn with MessageFont().
int32_t GetWidthText(const QString& Text);
