#pragma once

// What the print server says about one of its queues.

#include <QString>

struct TPrintQueue {
    bool Known = false;     // the server answered for a queue of that name
    bool Accepting = false; // it takes new jobs
    bool Stopped = false;   // it holds its jobs instead of printing them
};

// The queue `name` as the print server sees it now.
TPrintQueue ReadPrintQueue(const QString& name);

// The highest job id the queue has been given, 0 when it has none; -1 when
// the server cannot be asked.
int LastPrintJob(const QString& name);
