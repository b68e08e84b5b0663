#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;
class TApiClient;
class THHViewForm;
class TMessageBoxes;
class TRakeDatabase;
class TSettingsStore;
class TShBrowse;

// Where the window keeps its files, and the dialogs it asks the user through.
// Production passes the executable's folder and the real dialogs; tests pass
// temporary places and answers.
struct TMainFormPlaces
{
    QString DatabaseFolder;   // folder of the database file
    QString DatabaseFileName; // empty: "Kestrum2.db3"; else shown in the caption
    QString SettingsFile;     // empty: the user's settings
    std::function<std::unique_ptr<TShBrowse>()> NewFolderPicker; // empty: the real picker
    std::function<QString(QWidget*)> AskSaveFile;  // empty: the real save dialog; "" = cancelled
    std::function<QString(QWidget*)> AskImageFile; // the same, for the chart's PNG
    // The rakeback page's save dialog, opened on the file it proposes; empty: the real one.
    std::function<QString(QWidget*, const QString&)> AskStatementFile;
    int LockWaitMs = 60000; // how long an import waits for another program's lock on the file
};

// What lives for the whole run. The main window makes it and owns it; its
// pages borrow it, so a page reaches the database, the server, the viewer and
// the boxes only through here.
struct TWindowParts
{
    TWindowParts(TMessageBoxes& boxes, TMainFormPlaces places);
    ~TWindowParts();
    TWindowParts(const TWindowParts&) = delete;
    TWindowParts& operator=(const TWindowParts&) = delete;

    // Runs a handler: any error it raises ends in the box for unhandled errors,
    // so no exception crosses a Qt signal. While a long read runs, handlers
    // (reached through the accessibility bus too) do nothing.
    void Guard(const std::function<void()>& operation) const;

    bool Waiting = false; // a long read or an import runs on a worker thread

    TMessageBoxes& Boxes;
    const TMainFormPlaces Places;
    std::unique_ptr<TSettingsStore> Settings;
    std::unique_ptr<TRakeDatabase> RakeDatabase;
    std::unique_ptr<TApiClient> ApiClient;
    THHViewForm* HHViewForm = nullptr; // a child of the main window, made last at start-up
};
