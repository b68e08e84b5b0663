#pragma once

#include <QStringList>

// kestrum-cli: the command-line front end. arguments as main received them.
// Returns the exit code: 0 success, 1 failure (the message on stderr), 2 bad
// usage (what is wrong on stderr).
int RunCli(const QStringList& arguments);
