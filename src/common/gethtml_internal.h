#pragma once

// Adjustments of GetHTML for tests only (short time-outs, a test CA). The
// program itself never calls these.

#include <QString>

struct TGetHTMLTuning {
    int readTimeoutMs = 6000;    // longest wait for the next byte
    int connectTimeoutMs = 5000; // name lookup and connection
    QString caFile;              // CA file trusted instead of the system store when set
};

// Replaces the tuning of every later GetHTML call; TGetHTMLTuning{} restores it.
void SetGetHTMLTuning(const TGetHTMLTuning& tuning);
