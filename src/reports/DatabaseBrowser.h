#pragma once

#include "db/Query.h"
#include "platform/Busy.h"
#include "reports/DataView.h"
#include "reports/DataViewModel.h"
#include "reports/KeyIndex.h"

#include <QString>
#include <functional>

class TRakeDatabase;

// The database page below its window: the master view of every Master row,
// sorted by a column of the user's choice, and the detail view holding the
// Detail rows of the master's current hand. The window shows MasterModel and
// DetailModel in its grids and passes in how a status line is written (it
// repaints the line at once).
class TDatabaseBrowser : private TDataViewObserver
{
public:
    using TStatusWriter = std::function<void(const QString&)>;

    static constexpr const char* DetailSQL = "SELECT Hand, Player, Share FROM Detail;";

    // Starts with the sort state "Hand" ascending and both views closed.
    // busy: shown while the views load and while the database is emptied;
    // wait: how the views load (the window stays drawn and can stop it).
    TDatabaseBrowser(TRakeDatabase& database, TStatusWriter masterStatus, TStatusWriter detailStatus,
                     TBusyHook busy = {}, TWaitHook wait = {});
    ~TDatabaseBrowser() override;
    TDatabaseBrowser(const TDatabaseBrowser&) = delete;
    TDatabaseBrowser& operator=(const TDatabaseBrowser&) = delete;

    // Sets the statements of both views (start-up, after the database opened).
    // They compile at once, so a database that is not open raises here.
    void SetStatements();

    // Reads both tables whole, then shows them; a load the user stopped
    // leaves both views closed and "Query cancelled" on both status lines.
    void OpenViews();
    void CloseViews();
    // A click on a master title: sort by that column (again: reverse), then open.
    void MasterGridTitleClick(const QString& columnName);
    // The Empty command after the user confirmed it.
    void EmptyConfirmed();

    void ShowMasterPosition();
    void ShowDetailPosition();

    const QString& SortField() const { return FSortField; }
    bool SortDescending() const { return FSortDescending; }
    static QString MasterSQL(const QString& sortField, bool descending);

    TQuery MasterQuery;
    TQuery DetailQuery;
    TDataView MasterClientDataSet;
    TDataView DetailClientDataSet;
    TDataViewModel MasterModel;
    TDataViewModel DetailModel;

private:
    void DataViewCurrentChanged() override;
    void CloseBoth();
    void FollowMaster();

    TRakeDatabase& FDatabase;
    TStatusWriter FMasterStatus;
    TStatusWriter FDetailStatus;
    TBusyHook FBusy;
    TWaitHook FWait;
    QString FSortField = QStringLiteral("Hand");
    bool FSortDescending = false;
    std::unique_ptr<TKeyIndex> FDetailIndex;
    int FMasterHandColumn = -1;
};
