// The "Rake Database" page: the master/detail browser and the Empty command.
#include "app/Main.h"

#include "app/GridLink.h"
#include "app/MessageBoxes.h"
#include "db/RakeDatabase.h"
#include "platform/ui/BusyCursor.h"
#include "reports/DatabaseBrowser.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>

TDatabaseBrowser& TMainForm::Browser()
{
    // Made at start-up. After a failed start-up its statements are still
    // unset; Open sets them, which reopens the existing file (never creating it).
    if (!FBrowser) {
        FBrowser = std::make_unique<TDatabaseBrowser>(
            *FRakeDatabase, [this](const QString& text) { SetStatus(MasterStatus, text); },
            [this](const QString& text) { SetStatus(DetailStatus, text); }, WaitCursorHook());
        LinkGrid(MasterGrid, FBrowser->MasterModel);
        LinkGrid(DetailGrid, FBrowser->DetailModel);
    }
    return *FBrowser;
}

void TMainForm::SetBrowseStatements()
{
    Browser().SetStatements();
}

void TMainForm::DBOpenBtnClick()
{
    Guard([this] { Browser().OpenViews(); });
}

void TMainForm::DBCloseBtnClick()
{
    Guard([this] { CloseViews(); });
}

void TMainForm::CloseViews()
{
    if (FBrowser)
        FBrowser->CloseViews();
}

void TMainForm::EmptyDBBtnClick()
{
    Guard([this] {
        if (FBoxes.Confirm(QStringLiteral("Remove all records from database?")))
            Browser().EmptyConfirmed();
    });
}

void TMainForm::MasterGridTitleClick(int column)
{
    Guard([this, column] {
        TDatabaseBrowser& browser = Browser();
        browser.MasterGridTitleClick(browser.MasterModel.ColumnTitle(column));
    });
}
