#pragma once

// The one clock behind time stamps and order numbers, replaceable in tests.

#include <QDateTime>

#include <functional>

namespace zclock {

// Current local date-time.
QDateTime Now();

// Replaces the clock; an empty function restores the system clock.
void SetTestClock(std::function<QDateTime()> clock);

} // namespace zclock
