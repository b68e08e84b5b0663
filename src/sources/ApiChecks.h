#pragma once

#include <QString>
#include <optional>

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

struct TCheckFailure
{
    TConnectionCheck Check;
    QString Message;
};

// Removes leading and trailing characters of code 32 or below.
QString TrimBlanks(const QString& text);

// Runs the connection checks in their order; the first empty (trimmed) field fails.
// Nothing when every field holds something.
std::optional<TCheckFailure> CheckConnectionFields(const TConnectionFields& fields);
