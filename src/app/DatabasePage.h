#pragma once

#include "app/Page.h"

#include <memory>

class QLabel;
class QPushButton;
class QSplitter;
class QTableView;
class TDatabaseBrowser;
class TQueryWait;

// The "Rake Database" page: the master and detail grids over the browser's
// views, Open, Close and Empty.
class TDatabasePage : public TPage
{
    Q_OBJECT
public:
    explicit TDatabasePage(TWindowParts& parts);
    ~TDatabasePage() override;

    QString Caption() const override { return QStringLiteral("Rake Database"); }
    // The browser's statements compile now, so a database that failed to open
    // leaves them unset until Open.
    void DatabaseOpened() override;

    // Handlers.
    void DBOpenBtnClick();
    void DBCloseBtnClick();
    void EmptyDBBtnClick();
    void MasterGridTitleClick(int column);

    // The views let go of the tables (before an import writes them).
    void CloseViews();

    QPushButton *DBOpenBtn, *DBCloseBtn, *EmptyDBBtn;
    QTableView *MasterGrid, *DetailGrid;
    QLabel *MasterStatus, *DetailStatus;
    QSplitter* DataSplitter;

private:
    void ConnectHandlers();
    TDatabaseBrowser& Browser();

    TQueryWait* FWait; // its Cancel button stands after Empty while Open reads
    std::unique_ptr<TDatabaseBrowser> FBrowser;
};
