#pragma once

#include "reports/ChartData.h"

#include <QDialog>
#include <functional>

class QCategoryAxis;
class QChart;
class QChartView;
class QComboBox;
class QPushButton;
class TMessageBoxes;

// What the chart of a loaded report is told about it.
struct TChartSource
{
    QString ReportName;      // the catalogue's name, or "SQL"
    TReportLimit Start, End; // the limits the report was built with
};

// The modal window over the report as loaded: one value column drawn as bars
// over time or as a ranking, and its picture saved as PNG.
class TChartWindow : public QDialog
{
    Q_OBJECT
public:
    TChartWindow(const TDataView& view, TChartSource source, TMessageBoxes& boxes,
                 std::function<QString(QWidget*)> askImageFile, QWidget* parent = nullptr);

    const TChartData& Data() const { return FData; }
    QChart* Chart() const;
    void SaveImageBtnClick();

    QComboBox* ValueList;
    QChartView* ChartView;
    QPushButton *SaveImageBtn, *CloseBtn;

private:
    void ShowChart();
    void ShowTimelineTicks(double plotWidth);

    const TDataView& FView;
    TChartSource FSource;
    TMessageBoxes& FBoxes;
    std::function<QString(QWidget*)> FAskImageFile;
    TChartData FData;
    QCategoryAxis* FTimeline = nullptr; // the dated marks, when the chart has them
    int FTimelineRoom = 0;              // the marks that fitted when last laid out
};

// The real save dialog for PNG images; empty when cancelled.
QString AskPngFileName(QWidget* parent);

// Writes the picture whole or not at all, as the CSV export does.
void SavePngImage(const QImage& image, const QString& fileName);
