#include "common/clock.h"

namespace {
std::function<QDateTime()> g_testClock;
}

namespace zclock {

QDateTime Now() {
    return g_testClock ? g_testClock() : QDateTime::currentDateTime();
}

void SetTestClock(std::function<QDateTime()> clock) {
    g_testClock = std::move(clock);
}

} // namespace zclock
