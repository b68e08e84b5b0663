#pragma once

#include "platform/Busy.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class TRakeDatabase;

// What an import run needs from its caller: where the lines come from and how
// to speak to the user. The frame is the same for local files and the server.
struct TImportRunHooks
{
    // Sets the status line and repaints it at once.
    std::function<void(const QString&)> SetStatus;
    // The lines of one entry, or nothing with the text of the error box to show.
    std::function<std::optional<QStringList>(const QString& entry, QString& error)> Fetch;
    std::function<void(const QString&)> ShowError;
    std::function<void()> CloseViews;
    std::function<void(const QString&)> ShowPlain;
    // Shown from the start of the run until the loop ends (the window's wait cursor).
    TBusyHook Busy;
    // Before each entry, once its status is shown: lets a window paint and run
    // its timers, but take no input (empty: nothing to keep drawn).
    std::function<void()> KeepDrawn;
    // After each imported entry: entries done so far and raked hands so far.
    std::function<void(int entriesDone, int rakedHands)> Progress;
};

// Imports the entries in order inside one transaction: each announced as
// "<verb> (k of n):  entry", a failed fetch ends the loop and what came before
// is still committed and counted. A database error rolls the whole run back
// and propagates. Returns the number of raked hands imported.
int RunImport(TRakeDatabase& database, const QStringList& entries, const QString& verb,
              const TImportRunHooks& hooks);
