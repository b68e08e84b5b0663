#pragma once

#include "platform/EntryText.h"

#include <QString>
#include <QStringList>
#include <functional>

class TRakeDatabase;

// Where an import run's entries come from: one entry's text, or a TError
// with the text of the error box, which ends the run's loop (the entries
// before it are still committed and counted).
using TFetchEntry = std::function<TEntryText(const QString& entry)>;

// What a committed run imported, as its import log has it.
struct TImportCounts
{
    int Files = 0;    // files given a row of the log
    int Hands = 0;    // raked hands written
    int NewHands = 0; // of them, with a number not stored before their file
};

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
    // Once the run is committed, before its closing message.
    virtual void Counted(const TImportCounts& counts) { (void)counts; }
};

// Imports the entries in order inside one transaction: each announced as
// "<verb> (k of n):  entry", a failed fetch ends the loop and what came before
// is still committed and counted. Every file read to its end gets a row of the
// import log in the same transaction. A database error rolls the whole run back
// and propagates. Returns the number of raked hands imported.
int RunImport(TRakeDatabase& database, const QStringList& entries, const QString& verb,
              const TFetchEntry& fetch, TImportFrontEnd& frontEnd);
