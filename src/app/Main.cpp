// The frame of the main window: start-up, the pages and their wiring,
// shut-down and the size rule.
#include "app/Main.h"

#include "app/AppTitle.h"
#include "app/Controls.h"
#include "app/DatabasePage.h"
#include "app/HandHistoryPage.h"
#include "app/MessageBoxes.h"
#include "app/RakebackPage.h"
#include "app/ReportsPage.h"
#include "db/RakeDatabase.h"
#include "platform/SettingsStore.h"
#include "sources/ApiClient.h"
#include "viewer/HHView.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

TMainForm::TMainForm(TMessageBoxes& boxes, TMainFormPlaces places, QWidget* parent)
    : QWidget(parent), FParts(boxes, std::move(places))
{
    // A database other than the usual one (one per server) is named in the caption.
    setWindowTitle(FParts.Places.DatabaseFileName.isEmpty()
                       ? QLatin1String(MainCaption)
                       : QLatin1String(MainCaption) + QStringLiteral(" - ") + FParts.Places.DatabaseFileName);
    setObjectName(QStringLiteral("MainForm"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    setFont(font);
    // The pages are made over the run's parts, so those come first.
    CreateParts();
    BuildPages();
    setMinimumSize(MainMinimumSize);
    resize(MainDesignedSize);
    FSize.Resized(size(), false, false);

    // Each step of the creation reports its own error, and the window opens all the same.
    Guard([this] { LoadSettings(); });
    bool opened = false;
    Guard([this, &opened] {
        FParts.RakeDatabase->OpenRakeDatabase();
        opened = true;
    });
    if (opened)
        for (TPage* page : FPages)
            Guard([page] { page->DatabaseOpened(); });
    CreateViewer();
}

TMainForm::~TMainForm()
{
    ReleaseParts();
}

void TMainForm::ShowAtStart()
{
    // Centred either way: a window that starts maximised restores to this place.
    if (QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    FStartMaximised ? showMaximized() : show();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    FormCloseQuery();
    event->accept(); // the close always goes ahead
}

void TMainForm::FormCloseQuery()
{
    Guard([this] { SaveSettings(); });
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::FormResize()
{
    // Only a normal size is remembered, so a maximised window restores to it next time.
    FSize.Resized(size(), isMaximized(), isMinimized());
}

void TMainForm::CreateParts()
{
    FParts.Settings = std::make_unique<TSettingsStore>(FParts.Places.SettingsFile);
    FParts.RakeDatabase =
        FParts.Places.DatabaseFileName.isEmpty()
            ? std::make_unique<TRakeDatabase>(FParts.Places.DatabaseFolder)
            : std::make_unique<TRakeDatabase>(FParts.Places.DatabaseFolder, FParts.Places.DatabaseFileName);
    // Waiting for another program's lock keeps the window drawn and takes no
    // input, as the waits for the server do.
    FParts.RakeDatabase->SetLockWait(FParts.Places.LockWaitMs, [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    FParts.ApiClient = std::make_unique<TApiClient>();
}

void TMainForm::CreateViewer()
{
    FParts.HHViewForm = new THHViewForm(*FParts.Settings, this);
    if (!FParts.HHViewForm->CreateError().isEmpty())
        FParts.Boxes.UnhandledError(FParts.HHViewForm->CreateError());
}

void TMainForm::ReleaseParts()
{
    delete FParts.HHViewForm;
    FParts.HHViewForm = nullptr;
    // The pages' views and queries let go of their statements before the connection closes.
    while (!FPages.isEmpty())
        delete FPages.takeLast();
    FHandHistoryPage = nullptr;
    FDataPage = nullptr;
    FReportPage = nullptr;
    FRakebackPage = nullptr;
    FParts.RakeDatabase.reset();
}

template <typename TPageClass> TPageClass* TMainForm::AddPage(TPageClass* page)
{
    PageControl1->addTab(page, page->Caption());
    FPages.append(page);
    return page;
}

void TMainForm::BuildPages()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    PageControl1 = Named(new QTabWidget, "PageControl1");
    // The three first pages keep their tabs' 180 pixels; the rakeback page's
    // narrower tab lets all four sit side by side within the least width.
    PageControl1->setStyleSheet(
        QStringLiteral("QTabBar::tab { width: 180px; } QTabBar::tab:last { width: 110px; }"));
    outer->addWidget(PageControl1);

    // A new page is one more line here.
    FHandHistoryPage = AddPage(new THandHistoryPage(FParts));
    FDataPage = AddPage(new TDatabasePage(FParts));
    FReportPage = AddPage(new TReportsPage(FParts));
    FRakebackPage = AddPage(new TRakebackPage(FParts));
    PageControl1->setCurrentWidget(FHandHistoryPage);

    // An import writes the tables the browser reads: its views close first.
    FHandHistoryPage->CloseViews = [this] { FDataPage->CloseViews(); };
}
