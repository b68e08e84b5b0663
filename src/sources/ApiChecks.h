#pragma once

#include "platform/Error.h"

#include <QString>

// The four connection fields of the remote page, as typed (untrimmed).
struct TConnectionFields
{
    QString ServerIP, FilePort, APIPath, Password;
};

// Which field a failed check was about; the number is the check's place in the order,
// so the caller can pick the box kind (the server check is an error box in one
// operation and an information box in others).
enum class TConnectionCheck
{
    ServerIP = 1,
    FilePort = 2,
    APIPath = 3,
    Password = 4,
};

// The first connection field that is empty: its message, and which check it was.
class TCheckFailure : public TError
{
public:
    TCheckFailure(TConnectionCheck check, const QString& message) : TError(message), FCheck(check) {}
    TConnectionCheck Check() const { return FCheck; }

private:
    TConnectionCheck FCheck;
};

// Removes leading and trailing characters of code 32 or below.
QString TrimBlanks(const QString& text);

// Runs the connection checks in their order; the first empty (trimmed) field
// raises TCheckFailure.
void CheckConnectionFields(const TConnectionFields& fields);
