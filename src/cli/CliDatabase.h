#pragma once

#include "db/RakeDatabase.h"

#include <QCommandLineParser>
#include <memory>

enum class TDatabaseUse
{
    Import, // a missing file is created with its two tables
    Read    // a missing file is an error: a mistyped path must not pass for an empty database
};

// The rake database of a command: --database FILE (given after the command,
// or else before it), or else the window's own "Kestrum2.db3" (DatabaseFolder).
std::unique_ptr<TRakeDatabase> OpenCommandDatabase(const QCommandLineParser& parser, const QString& before,
                                                   TDatabaseUse use);
