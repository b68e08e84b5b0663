// The "Reports" page: the catalogue, the date and time limits, Load, Export and Chart.
#include "app/Main.h"

#include "app/ChartWindow.h"
#include "app/MessageBoxes.h"
#include "app/Pickers.h"
#include "platform/Clock.h"
#include "reports/CsvWriter.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportRunner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {
// Checked: the pickers show today with the given time; unchecked: they look empty.
void SetUpPickers(QCheckBox* box, TPicker* date, TPicker* time, QTime startTime)
{
    date->setEnabled(box->isChecked());
    time->setEnabled(box->isChecked());
    if (box->isChecked()) {
        const QSignalBlocker blockDate(date), blockTime(time);
        date->setDate(Clock::Today());
        time->setTime(startTime);
        date->ShowWithFormat(QStringLiteral("yyyy-MM-dd"));
        time->ShowWithFormat(QStringLiteral("HH:mm:ss"));
    } else {
        date->SetBlank();
        time->SetBlank();
    }
}

// The box's text as typed: toPlainText would turn a no-break space into a blank
// and U+2028 into a line feed. Only the document's own block breaks become
// line feeds.
QString SQLText(const QPlainTextEdit* memo)
{
    return memo->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

TReportLimit Limit(const QCheckBox* box, const TPicker* date, const TPicker* time)
{
    return {box->isChecked(), date->date(), time->time()};
}
} // namespace

void TMainForm::ReportListChange()
{
    Guard([this] { BuildReportSQL(); });
}

void TMainForm::StartCBClick()
{
    Guard([this] {
        SetUpPickers(StartCB, StartDate, StartTime, QTime(0, 0, 0));
        BuildReportSQL();
    });
}

void TMainForm::EndCBClick()
{
    Guard([this] {
        SetUpPickers(EndCB, EndDate, EndTime, QTime(23, 59, 59));
        BuildReportSQL();
    });
}

void TMainForm::PickerChange()
{
    Guard([this] { BuildReportSQL(); });
}

void TMainForm::BuildReportSQL()
{
    FReports->ClearReport();
    SQLMemo->setPlainText(::BuildReportSQL(ReportList->currentIndex(), Limit(StartCB, StartDate, StartTime),
                                           Limit(EndCB, EndDate, EndTime)));
}

void TMainForm::LoadSQLBtnClick()
{
    Guard([this] {
        // The chart names a catalogue report only when the box still holds its text.
        const QString sql = SQLText(SQLMemo);
        const int item = ReportList->currentIndex();
        const TReportLimit start = Limit(StartCB, StartDate, StartTime), end = Limit(EndCB, EndDate, EndTime);
        const bool catalogued = item > 0 && sql == ::BuildReportSQL(item, start, end);
        FLoadedReportName = catalogued ? ReportItemTexts()[item] : QStringLiteral("SQL");
        FLoadedStart = catalogued ? start : TReportLimit{};
        FLoadedEnd = catalogued ? end : TReportLimit{};
        // The emptied grid is painted before the query runs.
        FReports->Load(sql, [] { QCoreApplication::processEvents(); });
    });
}

void TMainForm::ExportBtnClick()
{
    Guard([this] {
        if (FReports->ReportClientDataSet.ColumnCount() == 0) {
            FBoxes.Error(QStringLiteral("Report table is empty"));
            return;
        }
        const QString fileName = FPlaces.AskSaveFile ? FPlaces.AskSaveFile(this) : AskCsvFileName(this);
        if (fileName.isEmpty())
            return;
        ExportCsvFile(FReports->ReportClientDataSet, fileName);
        FBoxes.Information(QStringLiteral("Report table saved"));
    });
}

void TMainForm::ChartBtnClick()
{
    Guard([this] {
        if (FReports->ReportClientDataSet.ColumnCount() == 0) {
            FBoxes.Error(QStringLiteral("Report table is empty"));
            return;
        }
        TChartWindow chart(FReports->ReportClientDataSet, {FLoadedReportName, FLoadedStart, FLoadedEnd}, FBoxes,
                           FPlaces.AskImageFile, this);
        if (FChartSize.isValid())
            chart.resize(FChartSize);
        chart.exec();
        FChartSize = chart.size();
    });
}

void TMainForm::ReportGridTitleClick(int column)
{
    Guard([this, column] { FReports->ReportGridTitleClick(column); });
}

QString AskCsvFileName(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Export data to CSV file"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("CSV files (*.csv)"), QStringLiteral("Text files (*.txt)"),
                           QStringLiteral("All files (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    // "*.*" needs a dot here, yet it means every file, as where it comes from.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        if (filter == QLatin1String("All files (*.*)"))
            if (auto* model = dialog.findChild<QFileSystemModel*>())
                model->setNameFilters({QStringLiteral("*")});
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
