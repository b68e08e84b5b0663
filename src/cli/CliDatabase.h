#pragma once

#include "db/RakeDatabase.h"

#include <QCommandLineParser>
#include <memory>

// The rake database of a command: --database FILE (given after the command,
// or else before it), or else the window's own "Kestrum2.db3" (DatabaseFolder).
// A missing file is created with its two tables.
std::unique_ptr<TRakeDatabase> OpenCommandDatabase(const QCommandLineParser& parser, const QString& before);
