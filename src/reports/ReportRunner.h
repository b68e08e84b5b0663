#pragma once

#include "db/Query.h"
#include "platform/Busy.h"
#include "reports/DataView.h"
#include "reports/DataViewModel.h"

#include <QString>
#include <functional>

class TRakeDatabase;

// The Reports page below its window: ReportQuery runs what the SQL box holds,
// ReportClientDataSet keeps the result, ReportModel shows it. The window
// passes in how the status line is written (repainted at once).
class TReportRunner
{
public:
    using TStatusWriter = std::function<void(const QString&)>;

    // busy: shown while the query runs (the window's wait cursor); wait: how
    // the query runs (the window keeps itself drawn and lets the user stop it).
    TReportRunner(TRakeDatabase& database, TStatusWriter reportStatus, TBusyHook busy = {},
                  TWaitHook wait = {});
    TReportRunner(const TReportRunner&) = delete;
    TReportRunner& operator=(const TReportRunner&) = delete;

    // What a change of report or limit does before the SQL box gets its new
    // text: the status line is cleared and the grid emptied until Load.
    void ClearReport();
    // Load: an empty text closes the view and clears the status. Otherwise the
    // view is closed, afterClose runs (the window paints the empty grid), the
    // text is compiled and RunReport follows. A rejected text raises before the
    // status changes; an error while running leaves "Performing query ...".
    // A query the user stopped leaves the view closed and "Query cancelled".
    void Load(const QString& sqlText, const std::function<void()>& afterClose = {});
    void RunReport();
    // A click on a loaded column's title: its rows in memory, ascending first,
    // then descending, without running the query again; the arrow follows and
    // the view is on its first row. Export writes them in this order.
    void ReportGridTitleClick(int column);
    void ShowReportPosition();

    TQuery ReportQuery;
    TDataView ReportClientDataSet;
    TDataViewModel ReportModel;

private:
    void ClearSort();

    TStatusWriter FReportStatus;
    QString FSortColumn;
    bool FSortDescending = false;
    TBusyHook FBusy;
    TWaitHook FWait;
};
