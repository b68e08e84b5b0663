#pragma once

#include "import/ImportRun.h"

#include "sources/FileLists.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class TImportLog;
class TSettingsReader;
class TSettingsWriter;
struct TWindowParts;

// Where hand-history files come from: one tab of the hand-history page. The
// page runs Refresh, View and Import the same way for every source; a source
// says how it lists its files and fetches an entry's lines, what it checks
// first, and its own words. It keeps the lists it last made (Files), and its
// file list shows what the page's filter keeps of them.
//
// A new source is a subclass and one AddSource line in THandHistoryPage.
class TFileSource : public QWidget
{
    Q_OBJECT
public:
    // One entry's text; raises TError with the text of the error box.
    using TFetch = TFetchEntry;

    explicit TFileSource(TWindowParts& parts);

    // The text of the source's tab.
    virtual QString Caption() const = 0;
    // The import's status line: "<verb> (k of n):  entry".
    virtual QString ImportVerb() const = 0;
    // Refresh: fills Files anew (the list and the stored lists are already
    // emptied). status is the page's status line, for a wait worth a word.
    // False when it ended early: cancelled, or a box has said why.
    virtual bool ListFiles(QLabel* status) = 0;
    // Checks before an import of the selected entries and before a view; false
    // once a box has said why.
    virtual bool ImportChecksPass() { return true; }
    virtual bool ViewChecksPass() { return true; }
    // Fetches entries with what the source reads them from (a folder, the
    // connection fields) as it stands now, so a run reads every entry alike.
    virtual TFetch EntryFetcher() = 0;
    // Whether an entry is new to the import log (Select New Files); a source
    // the log knows nothing of takes every entry as new.
    virtual bool IsNewEntry(const TImportLog& log, const QString& entry) const
    {
        (void)log, (void)entry;
        return true;
    }
    // The source's part of the window's settings.
    virtual void LoadSettings(TSettingsReader&) {}
    virtual void SaveSettings(TSettingsWriter&) const {}

    // The list and the stored lists emptied, the count back to 0.
    void ClearListing();
    // The list shows what the filter keeps of Files, nothing selected; returns how many.
    int ShowFileList(TFileFilter filter);
    // The selected entries in list order.
    QStringList SelectedEntries() const;
    // The entry with the focus mark; a filled list always has one, the first at the start.
    std::optional<QString> CurrentEntry() const;
    QListWidget* List() const { return FList; }

    TFileLists Files;

protected:
    // The file list and its count label, alike for every source; the source
    // places them in its layout.
    QListWidget* MakeFileList(const char* name);
    QLabel* MakeCountLabel(const char* name);
    bool eventFilter(QObject* watched, QEvent* event) override;

    TWindowParts& FParts;

private:
    QListWidget* FList = nullptr;
    QLabel* FCountLabel = nullptr;
};
