#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class TRakeDatabase;

// Where an import run's entries come from: one entry's lines, or a TError
// with the text of the error box, which ends the run's loop (the entries
// before it are still committed and counted).
using TFetchEntry = std::function<QStringList(const QString& entry)>;

// How an import run speaks to the user of the front end that started it. The
// frame is the same for local files and the server, the window and the
// command line; what every front end must say is pure virtual.
class TImportFrontEnd
{
public:
    virtual ~TImportFrontEnd() = default;
    // Sets the status line and repaints it at once.
    virtual void SetStatus(const QString& text) = 0;
    virtual void ShowError(const QString& text) = 0;
    virtual void CloseViews() = 0;
    virtual void ShowPlain(const QString& text) = 0;
    // From the start of the run until the loop ends (the window's wait cursor).
    virtual void SetBusy(bool busy) { (void)busy; }
    // Before each entry, once its status is shown: lets a window paint and
    // run its timers, but take no input.
    virtual void KeepDrawn() {}
    // After each imported entry: entries done so far and raked hands so far.
    virtual void Progress(int entriesDone, int rakedHands) { (void)entriesDone, (void)rakedHands; }
};

// Imports the entries in order inside one transaction: each announced as
// "<verb> (k of n):  entry", a failed fetch ends the loop and what came before
// is still committed and counted. A database error rolls the whole run back
// and propagates. Returns the number of raked hands imported.
int RunImport(TRakeDatabase& database, const QStringList& entries, const QString& verb, const TFetchEntry& fetch,
              TImportFrontEnd& frontEnd);
