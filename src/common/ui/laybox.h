#pragma once

#include <QString>

class QWidget;

// Modal box owned by myform: caption "友情提示", text msg, one OK button.
// Goes through the message seam, so tests can answer and record it.
void laybox(const QString& msg, QWidget* myform);

// The same for a text that may be long (from the network): the box fits the
// screen and scrolls.
void laylongbox(const QString& msg, QWidget* myform);
