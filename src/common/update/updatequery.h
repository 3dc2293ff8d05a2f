#pragma once

// The update query off the user-interface thread: the request runs on a thread
// of its own and what came of it is handed to done on the thread of context.
// Nothing is delivered once context is gone; the thread is not waited for, so
// closing the program never waits for the network.

#include <QString>

#include <functional>

class QObject;

// The answer is small; a longer one is not read to its end and not used.
inline constexpr qsizetype kMaxUpdateAnswerBytes = 64 * 1024;

struct TUpdateReply {
    enum class TKind {
        NotConfigured, // no address of the service: nothing was asked
        NoAnswer,      // unreachable, an HTTP error or an empty answer
        TooLong,       // more than kMaxUpdateAnswerBytes
        Answered,
    };
    TKind kind = TKind::NoAnswer;
    QString text; // the answer, when answered
};

// With an empty base no request is made and done gets NotConfigured, queued
// like a real answer.
void RequestUpdateAnswer(const QString& base, QObject* context,
                         std::function<void(const TUpdateReply& reply)> done);
