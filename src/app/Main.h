#pragma once

#include "app/WindowParts.h"
#include "platform/WindowSize.h"

#include <QList>
#include <QSize>
#include <QWidget>
#include <functional>

class QTabWidget;
class TDatabasePage;
class THandHistoryPage;
class TPage;
class TRakebackPage;
class TReportsPage;

// The main window: the frame of pages (PageControl1), what lives for the
// whole run, the settings' load and save, and the wiring between the pages.
// Each page owns its controls and handlers; a handler calls an operation of
// the folder that owns it.
class TMainForm : public QWidget
{
    Q_OBJECT
public:
    // The window's size as designed, which is also the least it can be made.
    static constexpr QSize MainDesignedSize{670, 480};
    static constexpr QSize MainMinimumSize{670, 480};

    TMainForm(TMessageBoxes& boxes, TMainFormPlaces places, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Start-up's last step: show centred at its size, or maximised.
    void ShowAtStart();

    // What lives for the whole run, shared by the pages.
    TWindowParts& Parts() { return FParts; }
    TRakeDatabase& RakeDatabase() { return *FParts.RakeDatabase; }
    THHViewForm& HHViewForm() { return *FParts.HHViewForm; }
    QSize RememberedSize() const { return {FSize.Width(), FSize.Height()}; }

    // The pages, named as their controls are.
    THandHistoryPage& HandHistoryPage() const { return *FHandHistoryPage; }
    TDatabasePage& DataPage() const { return *FDataPage; }
    TReportsPage& ReportPage() const { return *FReportPage; }
    TRakebackPage& RakebackPage() const { return *FRakebackPage; }

    // Runs a handler: any error it raises ends in the box for unhandled errors.
    void Guard(const std::function<void()>& operation) { FParts.Guard(operation); }

    QTabWidget* PageControl1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateParts();
    void ReleaseParts();
    void CreateViewer();
    void BuildPages();
    template <typename TPageClass> TPageClass* AddPage(TPageClass* page);
    void LoadSettings();
    void SaveSettings();
    void FormCloseQuery();
    void FormResize();

    TWindowParts FParts;
    QList<TPage*> FPages; // in tab order
    THandHistoryPage* FHandHistoryPage = nullptr;
    TDatabasePage* FDataPage = nullptr;
    TReportsPage* FReportPage = nullptr;
    TRakebackPage* FRakebackPage = nullptr;
    TRememberedSize FSize;
    bool FStartMaximised = false;
};
