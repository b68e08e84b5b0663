#pragma once

#include "app/Page.h"
#include "reports/ReportCatalogue.h"

#include <QSize>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class TPicker;
class TReportRunner;
class TQueryWait;

// The "Reports" page: the catalogue and its date and time limits, the SQL box,
// Load, Export and Chart, and the report grid.
class TReportsPage : public TPage
{
    Q_OBJECT
public:
    explicit TReportsPage(TWindowParts& parts);
    ~TReportsPage() override;

    QString Caption() const override { return QStringLiteral("Reports"); }

    // Handlers.
    void ReportListChange();
    void StartCBClick();
    void EndCBClick();
    void PickerChange();
    void LoadSQLBtnClick();
    void ExportBtnClick();
    void ChartBtnClick();
    void ReportGridTitleClick(int column);

    // The SQL box gets the chosen report with its limits; the loaded table is emptied.
    void BuildReportSQL();

    QCheckBox *StartCB, *EndCB;
    TPicker *StartDate, *StartTime, *EndDate, *EndTime;
    QComboBox* ReportList;
    QPushButton *ExportBtn, *ChartBtn;
    TQueryWait* FWait; // its Cancel button stands after Chart while a report loads
    QPlainTextEdit* SQLMemo;
    QPushButton* LoadSQLBtn;
    QTableView* ReportGrid;
    QLabel* ReportStatus;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ConnectHandlers();

    std::unique_ptr<TReportRunner> FReports;
    // What the loaded report was built from, for the chart's caption and title.
    QString FLoadedReportName;
    TReportLimit FLoadedStart, FLoadedEnd;
    QSize FChartSize; // kept for the run only
};

// The real save dialog for CSV files; empty when cancelled.
QString AskCsvFileName(QWidget* parent);
