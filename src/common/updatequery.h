#pragma once

// The update query off the user-interface thread: GetHTML runs on a thread of
// its own and the answer text (empty on any failure) is handed to done on the
// thread of context. Nothing is delivered once context is gone; the thread is
// not waited for, so closing the program never waits for the network.

#include <QString>

#include <functional>

class QObject;

// With an empty base no request is made and done gets an empty text, queued
// like a real answer.
void RequestUpdateAnswer(const QString& base, QObject* context,
                         std::function<void(const QString& answer)> done);
