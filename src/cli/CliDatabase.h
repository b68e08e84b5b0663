#pragma once

#include "db/RakeDatabase.h"

#include <QCommandLineParser>
#include <memory>

// The rake database of a command: --database FILE (given after the command,
// or else before it), or else "Kestrum2.db3" beside the executable, as the
// window opens it. A missing file is created with its two tables.
std::unique_ptr<TRakeDatabase> OpenCommandDatabase(const QCommandLineParser& parser, const QString& before);
