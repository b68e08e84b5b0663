#pragma once

#include <QStringList>

class TCliOutput;

// The commands of kestrum-cli. arguments[0] is the program and command words
// ("kestrum-cli import"), the rest what followed them; database is the file
// given before the command ("" when none). Each returns the exit code: 0 done,
// 1 failed (the message is on stderr). Bad usage raises TCliUsage, a failure
// of the database or a file TError.
int ImportCommand(const QStringList& arguments, const QString& database, TCliOutput& out);
int RemoteCommand(const QStringList& arguments, const QString& database, TCliOutput& out);
int ReportCommand(const QStringList& arguments, const QString& database, TCliOutput& out);
int SqlCommand(const QStringList& arguments, const QString& database, TCliOutput& out);
int RakebackCommand(const QStringList& arguments, const QString& database, TCliOutput& out);
int RatesCommand(const QStringList& arguments, const QString& database, TCliOutput& out);
