// The "Reports" page: the catalogue, the date and time limits, Load, Export and Chart.
#include "app/ReportsPage.h"

#include "app/ChartWindow.h"
#include "app/Controls.h"
#include "app/GridLink.h"
#include "app/MessageBoxes.h"
#include "app/Pickers.h"
#include "app/QueryWait.h"
#include "app/WindowParts.h"
#include "platform/Clock.h"
#include "platform/ui/BusyCursor.h"
#include "reports/CsvWriter.h"
#include "reports/ReportRunner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextDocument>
#include <QVBoxLayout>

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

TReportsPage::TReportsPage(TWindowParts& parts) : TPage(parts)
{
    BuildControls();
    FReports = std::make_unique<TReportRunner>(
        *FParts.RakeDatabase, [this](const QString& text) { SetStatus(ReportStatus, text); },
        WaitCursorHook(), FWait->Hook());
    LinkGrid(ReportGrid, FReports->ReportModel);
    ReportList->addItems(ReportItemTexts());
    ReportList->setCurrentIndex(0);
    ConnectHandlers();
}

TReportsPage::~TReportsPage() = default;

void TReportsPage::BuildControls()
{
    setObjectName(QStringLiteral("ReportPage"));
    auto* reports = new QVBoxLayout(this);
    reports->setContentsMargins(0, 0, 0, PageBottomMargin);
    reports->setSpacing(0);
    auto* topBar = new QWidget;
    auto* top = new QGridLayout(topBar);
    top->setContentsMargins(8, 6, 8, 6);
    StartCB = Named(new QCheckBox(QStringLiteral("Start Date && Time")), "StartCB");
    EndCB = Named(new QCheckBox(QStringLiteral("End Date && Time")), "EndCB");
    StartDate = Named(new TPicker(TPicker::TKind::Date), "StartDate");
    StartTime = Named(new TPicker(TPicker::TKind::Time), "StartTime");
    EndDate = Named(new TPicker(TPicker::TKind::Date), "EndDate");
    EndTime = Named(new TPicker(TPicker::TKind::Time), "EndTime");
    StartDate->setAccessibleName(QStringLiteral("Start date"));
    StartTime->setAccessibleName(QStringLiteral("Start time"));
    EndDate->setAccessibleName(QStringLiteral("End date"));
    EndTime->setAccessibleName(QStringLiteral("End time"));
    for (auto* picker : {StartDate, StartTime, EndDate, EndTime}) {
        picker->setEnabled(false);
        picker->setFixedWidth(picker == StartDate || picker == EndDate ? 100 : 80);
    }
    ReportList = Named(new QComboBox, "ReportList");
    ReportList->setEditable(false);
    ReportList->setMaxVisibleItems(16);
    ReportList->setMinimumWidth(220);
    // Wide enough for its longest report name.
    ReportList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* reportLabel = new QLabel(QStringLiteral("Report"));
    reportLabel->setBuddy(ReportList);
    ExportBtn = MakeButton(QStringLiteral("Export"), "ExportBtn", 75, 25);
    ChartBtn = MakeButton(QStringLiteral("Chart"), "ChartBtn", 75, 25);
    top->addWidget(StartCB, 0, 0, 1, 2);
    top->addWidget(StartDate, 1, 0);
    top->addWidget(StartTime, 1, 1);
    top->addWidget(EndCB, 0, 3, 1, 2);
    top->addWidget(EndDate, 1, 3);
    top->addWidget(EndTime, 1, 4);
    top->setColumnMinimumWidth(2, 16);
    top->setColumnStretch(5, 1);
    // The report and its commands on a row of their own: beside the limits the
    // list had no room for its longer names. Further commands join Export on
    // the right, before the stretch.
    auto* reportRow = new QHBoxLayout;
    reportRow->addWidget(reportLabel);
    reportRow->addWidget(ReportList);
    reportRow->addSpacing(8);
    reportRow->addWidget(ExportBtn);
    reportRow->addWidget(ChartBtn);
    reportRow->addStretch(1);
    top->addLayout(reportRow, 2, 0, 1, 6);

    auto* sqlBar = new QWidget;
    sqlBar->setFixedHeight(48);
    auto* sql = new QHBoxLayout(sqlBar);
    sql->setContentsMargins(8, 4, 8, 4);
    SQLMemo = Named(new QPlainTextEdit, "SQLMemo");
    SQLMemo->setAccessibleName(QStringLiteral("SQL"));
    SQLMemo->installEventFilter(this);
    LoadSQLBtn = MakeButton(QStringLiteral("Load"), "LoadSQLBtn", 49, 38);
    sql->addWidget(SQLMemo, 1);
    sql->addWidget(LoadSQLBtn);

    ReportGrid = MakeGrid("ReportGrid");
    ReportStatus = MakeStatusLine("ReportStatus");
    reports->addWidget(topBar);
    reports->addWidget(sqlBar);
    reports->addWidget(ReportGrid, 1);
    reports->addWidget(StatusLineBox(ReportStatus));
    FWait = new TQueryWait(this, FParts, {ReportStatus}, reportRow, "ReportCancelBtn", 75);
}

void TReportsPage::ConnectHandlers()
{
    connect(ReportList, &QComboBox::currentIndexChanged, this, &TReportsPage::ReportListChange);
    // On the change of state, not the click: the accessibility bus toggles a
    // check box without a click.
    connect(StartCB, &QCheckBox::toggled, this, &TReportsPage::StartCBClick);
    connect(EndCB, &QCheckBox::toggled, this, &TReportsPage::EndCBClick);
    for (TPicker* picker : {StartDate, StartTime, EndDate, EndTime})
        connect(picker, &QDateTimeEdit::dateTimeChanged, this, &TReportsPage::PickerChange);
    connect(LoadSQLBtn, &QPushButton::clicked, this, &TReportsPage::LoadSQLBtnClick);
    connect(ExportBtn, &QPushButton::clicked, this, &TReportsPage::ExportBtnClick);
    connect(ChartBtn, &QPushButton::clicked, this, &TReportsPage::ChartBtnClick);
    connect(ReportGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TReportsPage::ReportGridTitleClick);
}

bool TReportsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SQLMemo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true; // the SQL box takes no line break
    }
    return TPage::eventFilter(watched, event);
}

void TReportsPage::ReportListChange()
{
    FParts.Guard([this] { BuildReportSQL(); });
}

void TReportsPage::StartCBClick()
{
    FParts.Guard([this] {
        SetUpPickers(StartCB, StartDate, StartTime, QTime(0, 0, 0));
        BuildReportSQL();
    });
}

void TReportsPage::EndCBClick()
{
    FParts.Guard([this] {
        SetUpPickers(EndCB, EndDate, EndTime, QTime(23, 59, 59));
        BuildReportSQL();
    });
}

void TReportsPage::PickerChange()
{
    FParts.Guard([this] { BuildReportSQL(); });
}

void TReportsPage::BuildReportSQL()
{
    FReports->ClearReport();
    SQLMemo->setPlainText(::BuildReportSQL(ReportList->currentIndex(), Limit(StartCB, StartDate, StartTime),
                                           Limit(EndCB, EndDate, EndTime)));
}

void TReportsPage::LoadSQLBtnClick()
{
    FParts.Guard([this] {
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

void TReportsPage::ExportBtnClick()
{
    FParts.Guard([this] {
        if (FReports->ReportClientDataSet.ColumnCount() == 0) {
            FParts.Boxes.Error(QStringLiteral("Report table is empty"));
            return;
        }
        const QString fileName =
            FParts.Places.AskSaveFile ? FParts.Places.AskSaveFile(window()) : AskCsvFileName(window());
        if (fileName.isEmpty())
            return;
        ExportCsvFile(FReports->ReportClientDataSet, fileName);
        FParts.Boxes.Information(QStringLiteral("Report table saved"));
    });
}

void TReportsPage::ChartBtnClick()
{
    FParts.Guard([this] {
        if (FReports->ReportClientDataSet.ColumnCount() == 0) {
            FParts.Boxes.Error(QStringLiteral("Report table is empty"));
            return;
        }
        TChartWindow chart(FReports->ReportClientDataSet, {FLoadedReportName, FLoadedStart, FLoadedEnd},
                           FParts.Boxes, FParts.Places.AskImageFile, window());
        if (FChartSize.isValid())
            chart.resize(FChartSize);
        chart.exec();
        FChartSize = chart.size();
    });
}

void TReportsPage::ReportGridTitleClick(int column)
{
    FParts.Guard([this, column] { FReports->ReportGridTitleClick(column); });
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
