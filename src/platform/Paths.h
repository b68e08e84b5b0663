#pragma once

#include <QString>

// Places the program needs from the operating system.

// The folder of the running executable, with a trailing "/".
QString ExecutableFolder();

// Appends one "/" unless the path already ends in one.
QString WithTrailingDelimiter(const QString& path);
