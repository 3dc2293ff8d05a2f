#pragma once

#include <QString>

#include <stdexcept>

// Failure of an order operation. The message starts with the operation's own
// prefix, followed by the message of whatever failed inside it.
class EOrderError : public std::runtime_error {
public:
    explicit EOrderError(const QString& message)
        : std::runtime_error(message.toUtf8().toStdString()) {}
    QString Message() const { return QString::fromUtf8(what()); }
};
