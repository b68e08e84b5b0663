// The window's pages and controls, with their captions, names and sizes.
#include "app/Main.h"
#include "app/Pickers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <utility>

namespace {
// Room under a page's status line, so it never sits on the window's edge.
constexpr int PageBottomMargin = 4;

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* StatusLine(const char* name)
{
    auto* line = Named(new QLabel, name);
    line->setFrameShape(QFrame::StyledPanel);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(19);
    line->setTextFormat(Qt::PlainText);
    line->setAccessibleDescription(QLatin1String(name));
    return line;
}

QListWidget* FileList(const char* name)
{
    auto* list = Named(new QListWidget, name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QFont font(QStringLiteral("DejaVu Sans Mono"), 9);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    list->setFont(font);
    list->setUniformItemSizes(true);
    list->setStyleSheet(QStringLiteral("QListWidget::item { height: 15px; }"));
    list->setAccessibleName(QLatin1String(name));
    return list;
}

QTableView* Grid(const char* name)
{
    auto* grid = Named(new QTableView, name);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setShowGrid(true);
    grid->setTabKeyNavigation(true);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setAccessibleName(QLatin1String(name));
    return grid;
}

QPushButton* Button(const QString& caption, const char* name, int width, int height)
{
    auto* button = Named(new QPushButton(caption), name);
    button->setFixedSize(width, height);
    button->setAutoDefault(false);
    return button;
}

} // namespace

void TMainForm::BuildPages()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    PageControl1 = Named(new QTabWidget, "PageControl1");
    PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { width: 180px; }"));
    outer->addWidget(PageControl1);

    // ---- Hand Histories
    HandHistoryPage = Named(new QWidget, "HandHistoryPage");
    auto* hh = new QGridLayout(HandHistoryPage);
    hh->setContentsMargins(6, 6, 6, PageBottomMargin);

    PageControl2 = Named(new QTabWidget, "PageControl2");
    PageControl2->setDocumentMode(true);
    PageControl2->setStyleSheet(QStringLiteral("QTabBar::tab { width: 175px; padding: 4px 0px; }"));

    LocalPage = Named(new QWidget, "LocalPage");
    auto* local = new QVBoxLayout(LocalPage);
    local->setContentsMargins(4, 4, 4, 4);
    LocalFolder = Named(new QLineEdit, "LocalFolder");
    LocalFolder->setReadOnly(true);
    LocalFolder->setBackgroundRole(QPalette::Window);
    LocalFolder->setStyleSheet(QStringLiteral("QLineEdit { background: palette(window); }"));
    auto* folderLabel = new QLabel(QStringLiteral("Folder"));
    folderLabel->setBuddy(LocalFolder);
    LFileLabel = Named(new QLabel(QStringLiteral("Files:  0")), "LFileLabel");
    LFileLabel->setAccessibleDescription(QStringLiteral("LFileLabel"));
    HHLocalList = FileList("HHLocalList");
    local->addWidget(folderLabel);
    local->addWidget(LocalFolder);
    local->addWidget(LFileLabel);
    local->addWidget(HHLocalList, 1);

    RemotePage = Named(new QWidget, "RemotePage");
    auto* remote = new QGridLayout(RemotePage);
    remote->setContentsMargins(4, 4, 4, 4);
    ServerIP = Named(new QLineEdit, "ServerIP");
    ServerIP->setFixedWidth(169);
    FilePort = Named(new QLineEdit, "FilePort");
    FilePort->setFixedWidth(50);
    APIPath = Named(new QLineEdit, "APIPath");
    APIPath->setFixedWidth(82);
    APIPW = Named(new QLineEdit, "APIPW");
    APIPW->setFixedWidth(113);
    APIPW->setEchoMode(QLineEdit::Password);
    // One "*" per character, whatever the platform's style would draw.
    APIPW->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    RememberPW = Named(new QCheckBox(QStringLiteral("Remember PW")), "RememberPW");
    // Labels on one row and fields on the next, so the four line up whatever
    // stands under one of them.
    auto* fields = new QGridLayout;
    fields->setVerticalSpacing(2);
    int column = 0;
    for (const auto& [caption, field] : {std::pair{QStringLiteral("Poker Server IP / Domain"), ServerIP},
                                         std::pair{QStringLiteral("File Port"), FilePort},
                                         std::pair{QStringLiteral("API Path"), APIPath},
                                         std::pair{QStringLiteral("API Password"), APIPW}}) {
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        fields->addWidget(label, 0, column);
        fields->addWidget(field, 1, column++);
    }
    fields->addWidget(RememberPW, 2, column - 1);
    fields->setColumnStretch(column, 1);
    RFileLabel = Named(new QLabel(QStringLiteral("Files:  0")), "RFileLabel");
    RFileLabel->setAccessibleDescription(QStringLiteral("RFileLabel"));
    HHRemoteList = FileList("HHRemoteList");
    remote->addLayout(fields, 0, 0);
    remote->addWidget(RFileLabel, 1, 0);
    remote->addWidget(HHRemoteList, 2, 0);
    remote->setRowStretch(2, 1);

    PageControl2->addTab(LocalPage, QStringLiteral("Local Hand History Files"));
    PageControl2->addTab(RemotePage, QStringLiteral("Remote Hand History Files"));

    RefreshBtn = Button(QStringLiteral("Get Hand History List"), "RefreshBtn", 146, 38);
    LoadHHBtn = Button(QStringLiteral("View Selected File"), "LoadHHBtn", 146, 38);
    SelectAllBtn = Button(QStringLiteral("Select All Files"), "SelectAllBtn", 146, 38);
    ImportBtn = Button(QStringLiteral("Import Selected Files"), "ImportBtn", 146, 38);
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 24, 0, 0);
    buttons->setSpacing(10);
    for (auto* b : {RefreshBtn, LoadHHBtn, SelectAllBtn, ImportBtn})
        buttons->addWidget(b);
    buttons->addStretch(1);

    ShowRing = Named(new QRadioButton(QStringLiteral("Show Ring Games")), "ShowRing");
    ShowTrny = Named(new QRadioButton(QStringLiteral("Show Tournaments")), "ShowTrny");
    ShowBoth = Named(new QRadioButton(QStringLiteral("Show Both")), "ShowBoth");
    ShowRing->setChecked(true);
    auto* filters = new QHBoxLayout;
    filters->addWidget(ShowRing);
    filters->addSpacing(12);
    filters->addWidget(ShowTrny);
    filters->addSpacing(12);
    filters->addWidget(ShowBoth);
    filters->addStretch(1);

    HHStatus = StatusLine("HHStatus");
    hh->addWidget(PageControl2, 0, 0);
    hh->addLayout(buttons, 0, 1);
    hh->addLayout(filters, 1, 0, 1, 2);
    hh->addWidget(HHStatus, 2, 0, 1, 2);
    hh->setRowStretch(0, 1);
    hh->setColumnStretch(0, 1);

    // ---- Rake Database
    DataPage = Named(new QWidget, "DataPage");
    auto* data = new QVBoxLayout(DataPage);
    data->setContentsMargins(0, 0, 0, PageBottomMargin);
    data->setSpacing(0);
    auto* dataBar = new QWidget;
    dataBar->setFixedHeight(41);
    auto* dataBarLayout = new QHBoxLayout(dataBar);
    dataBarLayout->setContentsMargins(8, 8, 8, 8);
    DBOpenBtn = Button(QStringLiteral("Open"), "DBOpenBtn", 105, 25);
    DBCloseBtn = Button(QStringLiteral("Close"), "DBCloseBtn", 105, 25);
    EmptyDBBtn = Button(QStringLiteral("Empty"), "EmptyDBBtn", 105, 25);
    dataBarLayout->addWidget(DBOpenBtn);
    dataBarLayout->addWidget(DBCloseBtn);
    dataBarLayout->addWidget(EmptyDBBtn);
    dataBarLayout->addStretch(1);

    MasterGrid = Grid("MasterGrid");
    MasterStatus = StatusLine("MasterStatus");
    auto* upper = new QWidget;
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(0);
    upperLayout->addWidget(MasterGrid, 1);
    upperLayout->addWidget(MasterStatus);

    DetailGrid = Grid("DetailGrid");
    DetailStatus = StatusLine("DetailStatus");
    auto* lower = new QWidget;
    lower->setMinimumHeight(100);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->setSpacing(0);
    lowerLayout->addWidget(DetailGrid, 1);
    lowerLayout->addWidget(DetailStatus);

    DataSplitter = Named(new QSplitter(Qt::Vertical), "DataSplitter");
    DataSplitter->addWidget(upper);
    DataSplitter->addWidget(lower);
    DataSplitter->setHandleWidth(5);
    DataSplitter->setChildrenCollapsible(false);
    DataSplitter->setStretchFactor(0, 1);
    DataSplitter->setStretchFactor(1, 0);
    DataSplitter->setSizes({1000, 123});
    data->addWidget(dataBar);
    data->addWidget(DataSplitter, 1);

    // ---- Reports
    ReportPage = Named(new QWidget, "ReportPage");
    auto* reports = new QVBoxLayout(ReportPage);
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
    ExportBtn = Button(QStringLiteral("Export"), "ExportBtn", 75, 25);
    ChartBtn = Button(QStringLiteral("Chart"), "ChartBtn", 75, 25);
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
    LoadSQLBtn = Button(QStringLiteral("Load"), "LoadSQLBtn", 49, 38);
    sql->addWidget(SQLMemo, 1);
    sql->addWidget(LoadSQLBtn);

    ReportGrid = Grid("ReportGrid");
    ReportStatus = StatusLine("ReportStatus");
    reports->addWidget(topBar);
    reports->addWidget(sqlBar);
    reports->addWidget(ReportGrid, 1);
    reports->addWidget(ReportStatus);

    PageControl1->addTab(HandHistoryPage, QStringLiteral("Hand Histories"));
    PageControl1->addTab(DataPage, QStringLiteral("Rake Database"));
    PageControl1->addTab(ReportPage, QStringLiteral("Reports"));
    PageControl1->setCurrentWidget(HandHistoryPage);
    PageControl2->setCurrentWidget(LocalPage);

    HHLocalList->installEventFilter(this);
    HHRemoteList->installEventFilter(this);
}
