#include "reports/ReportRunner.h"

#include "platform/Busy.h"

namespace {
constexpr int ReportDecimals = 4;
constexpr int ReportRealWidth = 120;
} // namespace

TReportRunner::TReportRunner(TRakeDatabase& database, TStatusWriter reportStatus, TBusyHook busy)
    : ReportQuery(database), ReportModel(ReportClientDataSet, ReportDecimals, ReportRealWidth),
      FReportStatus(std::move(reportStatus)), FBusy(std::move(busy))
{
    ReportClientDataSet.SetAfterScroll([this] { ShowReportPosition(); });
}

void TReportRunner::ClearReport()
{
    FReportStatus(QString());
    ReportClientDataSet.Close();
}

void TReportRunner::Load(const QString& sqlText, const std::function<void()>& afterClose)
{
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
    {
        TBusyScope busy(FBusy);
        ReportClientDataSet.Open(ReportQuery.Open());
    }
    ShowReportPosition();
}

void TReportRunner::ShowReportPosition()
{
    FReportStatus(QStringLiteral("Report record %1 of %2")
                      .arg(ReportClientDataSet.Position())
                      .arg(ReportClientDataSet.RowCount()));
}
