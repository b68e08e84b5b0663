#include "reports/ReportRunner.h"

#include "platform/Busy.h"
#include "platform/Error.h"
#include "reports/RowOrder.h"

#include <QCollator>

namespace {
constexpr int ReportDecimals = 4;
constexpr int ReportRealWidth = 120;
} // namespace

TReportRunner::TReportRunner(TRakeDatabase& database, TStatusWriter reportStatus, TBusyHook busy,
                             TWaitHook wait)
    : ReportQuery(database), ReportModel(ReportClientDataSet, ReportDecimals, ReportRealWidth),
      FReportStatus(std::move(reportStatus)), FBusy(std::move(busy)), FWait(std::move(wait))
{
    ReportClientDataSet.SetAfterScroll([this] { ShowReportPosition(); });
}

void TReportRunner::ClearSort()
{
    FSortColumn.clear();
    FSortDescending = false;
    ReportModel.SetSortIndicator({}, false);
}

void TReportRunner::ReportGridTitleClick(int column)
{
    if (!ReportClientDataSet.Active() || column < 0 || column >= ReportClientDataSet.ColumnCount())
        return;
    const QString name = ReportClientDataSet.Column(column).Name;
    FSortDescending = name == FSortColumn && !FSortDescending;
    FSortColumn = name;
    auto order = std::make_shared<const std::vector<int>>(
        SortedRows(*ReportClientDataSet.Table(), column, FSortDescending, QCollator()));
    const int rows = int(order->size());
    ReportModel.SetSortIndicator(FSortColumn, FSortDescending);
    ReportClientDataSet.SelectRows(std::move(order), 0, rows); // shows the position
}

void TReportRunner::ClearReport()
{
    ClearSort();
    FReportStatus(QString());
    ReportClientDataSet.Close();
}

void TReportRunner::Load(const QString& sqlText, const std::function<void()>& afterClose)
{
    ClearSort();
    if (sqlText.isEmpty()) {
        ReportClientDataSet.Close();
        FReportStatus(QString());
        return;
    }
    ReportClientDataSet.Close();
    if (afterClose)
        afterClose();
    ReportQuery.SetSelectSQL(sqlText);
    RunReport();
}

void TReportRunner::RunReport()
{
    FReportStatus(QStringLiteral("Performing query ..."));
    std::shared_ptr<TResultTable> table;
    try {
        TBusyScope busy(FBusy);
        RunWaiting(FWait, [this, &table] { table = ReportQuery.Open(); });
    } catch (const TCancelled&) {
        FReportStatus(QStringLiteral("Query cancelled"));
        return;
    }
    ReportClientDataSet.Open(std::move(table));
    ShowReportPosition();
}

void TReportRunner::ShowReportPosition()
{
    FReportStatus(QStringLiteral("Report record %1 of %2")
                      .arg(ReportClientDataSet.Position())
                      .arg(ReportClientDataSet.RowCount()));
}
