#pragma once

#include <QString>
#include <stdexcept>

// The one error class of the program: it carries the message the user reads.
// Operations raise it; the handler guard of the main window shows it.
class TError : public std::runtime_error
{
public:
    explicit TError(const QString& message) : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};

// The user stopped a long read: no box, the status line says so.
class TCancelled : public TError
{
public:
    TCancelled() : TError(QStringLiteral("Query cancelled")) {}
};
