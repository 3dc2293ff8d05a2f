#pragma once

// Transient notification: one shared dark-green panel, shown centred on the
// window of the latest call and hidden again by a one-second countdown.

#include <QString>

#include <cstdint>

class QLabel;
class QTimer;
class QWidget;

// Remaining seconds of the current notification.
extern int32_t mymsgtime;

// The shared panel, or nullptr before the first call or after its window was
// destroyed (a later call then creates a new one).
QLabel* mypan();

// Shows msg on myform for times seconds (2 when times < 1) and restarts the
// countdown. Does nothing without a window.
void laymsg(const QString& msg, int32_t times, QWidget* myform);

// One tick of the countdown: counts down, or stops the timer and hides the
// panel once the count is 0. The main window's Timermsg calls it every second.
void laymsgTick();

// The timer laymsg starts (the main window's Timermsg). Until one is set, or
// after it is destroyed, a timer of the module's own does the counting.
void SetMessageTimer(QTimer* timer);
