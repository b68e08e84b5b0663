// The "Rake Database" page: the master/detail browser and the Empty command.
#include "app/DatabasePage.h"

#include "app/Controls.h"
#include "app/GridLink.h"
#include "app/MessageBoxes.h"
#include "app/QueryWait.h"
#include "app/WindowParts.h"
#include "platform/ui/BusyCursor.h"
#include "reports/DatabaseBrowser.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

TDatabasePage::TDatabasePage(TWindowParts& parts) : TPage(parts)
{
    setObjectName(QStringLiteral("DataPage"));
    auto* data = new QVBoxLayout(this);
    data->setContentsMargins(0, 0, 0, PageBottomMargin);
    data->setSpacing(0);
    auto* dataBar = new QWidget;
    dataBar->setFixedHeight(41);
    auto* dataBarLayout = new QHBoxLayout(dataBar);
    dataBarLayout->setContentsMargins(8, 8, 8, 8);
    DBOpenBtn = MakeButton(QStringLiteral("Open"), "DBOpenBtn", 105, 25);
    DBCloseBtn = MakeButton(QStringLiteral("Close"), "DBCloseBtn", 105, 25);
    EmptyDBBtn = MakeButton(QStringLiteral("Empty"), "EmptyDBBtn", 105, 25);
    dataBarLayout->addWidget(DBOpenBtn);
    dataBarLayout->addWidget(DBCloseBtn);
    dataBarLayout->addWidget(EmptyDBBtn);
    dataBarLayout->addStretch(1);

    MasterGrid = MakeGrid("MasterGrid");
    MasterStatus = MakeStatusLine("MasterStatus");
    auto* upper = new QWidget;
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(0);
    upperLayout->addWidget(MasterGrid, 1);
    upperLayout->addWidget(StatusLineBox(MasterStatus));

    DetailGrid = MakeGrid("DetailGrid");
    DetailStatus = MakeStatusLine("DetailStatus");
    auto* lower = new QWidget;
    lower->setMinimumHeight(100);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->setSpacing(0);
    lowerLayout->addWidget(DetailGrid, 1);
    lowerLayout->addWidget(StatusLineBox(DetailStatus));

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
    FWait = new TQueryWait(this, FParts, {MasterStatus, DetailStatus}, dataBarLayout, "DBCancelBtn", 105);
    ConnectHandlers();
}

TDatabasePage::~TDatabasePage() = default;

void TDatabasePage::ConnectHandlers()
{
    connect(DBOpenBtn, &QPushButton::clicked, this, &TDatabasePage::DBOpenBtnClick);
    connect(DBCloseBtn, &QPushButton::clicked, this, &TDatabasePage::DBCloseBtnClick);
    connect(EmptyDBBtn, &QPushButton::clicked, this, &TDatabasePage::EmptyDBBtnClick);
    connect(MasterGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TDatabasePage::MasterGridTitleClick);
}

TDatabaseBrowser& TDatabasePage::Browser()
{
    // Made at start-up. After a failed start-up its statements are still
    // unset; Open sets them, which reopens the existing file (never creating it).
    if (!FBrowser) {
        FBrowser = std::make_unique<TDatabaseBrowser>(
            *FParts.RakeDatabase, [this](const QString& text) { SetStatus(MasterStatus, text); },
            [this](const QString& text) { SetStatus(DetailStatus, text); }, WaitCursorHook(), FWait->Hook());
        LinkGrid(MasterGrid, FBrowser->MasterModel);
        LinkGrid(DetailGrid, FBrowser->DetailModel);
    }
    return *FBrowser;
}

void TDatabasePage::DatabaseOpened()
{
    Browser().SetStatements();
}

void TDatabasePage::DBOpenBtnClick()
{
    FParts.Guard([this] { Browser().OpenViews(); });
}

void TDatabasePage::DBCloseBtnClick()
{
    FParts.Guard([this] { CloseViews(); });
}

void TDatabasePage::CloseViews()
{
    if (FBrowser)
        FBrowser->CloseViews();
}

void TDatabasePage::EmptyDBBtnClick()
{
    FParts.Guard([this] {
        if (FParts.Boxes.Confirm(QStringLiteral("Remove all records from database?")))
            Browser().EmptyConfirmed();
    });
}

void TDatabasePage::MasterGridTitleClick(int column)
{
    FParts.Guard([this, column] {
        TDatabaseBrowser& browser = Browser();
        browser.MasterGridTitleClick(browser.MasterModel.ColumnTitle(column));
    });
}
