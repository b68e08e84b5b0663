#pragma once

#include "app/WindowParts.h"
#include "import/ImportRun.h"
#include "platform/WindowSize.h"
#include "sources/ApiChecks.h"
#include "sources/FileLists.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TDatabasePage;
class TPage;
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
    const QString& RememberedFolder() const { return FLastFolder; }
    QSize RememberedSize() const { return {FSize.Width(), FSize.Height()}; }
    TFileLists LocalFiles, RemoteFiles;

    // The pages, named as their controls are.
    TDatabasePage& DataPage() const { return *FDataPage; }
    TReportsPage& ReportPage() const { return *FReportPage; }

    // Handlers of the command table.
    void RefreshBtnClick();
    void LoadHHBtnClick();
    void SelectAllBtnClick();
    void ImportBtnClick();
    void ShowRingClick() { Guard([this] { ShowFileList(); }); }
    void ShowTrnyClick() { Guard([this] { ShowFileList(); }); }
    void ShowBothClick() { Guard([this] { ShowFileList(); }); }
    void PageControl2Change()
    {
        Guard([this] { ShowFileList(); });
    }

    // Operations.
    int ShowFileList();
    void ListLocalFiles();
    void ImportLocalFiles();
    void ViewLocalFile();
    void ListRemoteFiles();
    void ImportRemoteFiles();
    void ViewRemoteFile();

    // Runs a handler: any error it raises ends in the box for unhandled errors.
    void Guard(const std::function<void()>& operation) { FParts.Guard(operation); }

    // Controls, named as the user reads them.
    QTabWidget* PageControl1;
    QWidget* HandHistoryPage;
    QTabWidget* PageControl2;
    QWidget *LocalPage, *RemotePage;
    QLineEdit* LocalFolder;
    QLabel *LFileLabel, *RFileLabel;
    QListWidget *HHLocalList, *HHRemoteList;
    QLineEdit *ServerIP, *FilePort, *APIPath, *APIPW;
    QCheckBox* RememberPW;
    QPushButton *RefreshBtn, *LoadHHBtn, *SelectAllBtn, *ImportBtn;
    QRadioButton *ShowRing, *ShowTrny, *ShowBoth;
    QLabel* HHStatus;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateParts();
    void ReleaseParts();
    void CreateViewer();
    TImportRunHooks ImportRunHooks();
    std::optional<QString> CurrentEntry(QListWidget* list) const;
    TConnectionFields ConnectionFields() const;
    bool ConnectionChecksPass(bool serverCheckIsError);
    void BuildPages();
    void BuildHandHistoryPage();
    template <typename TPageClass> TPageClass* AddPage(TPageClass* page);
    void ConnectHandlers();
    void LoadSettings();
    void SaveSettings();
    void FormCloseQuery();
    void FormResize();
    QListWidget* ActiveList() const;
    bool LocalPageActive() const;
    QStringList SelectedEntries(QListWidget* list) const;

    TWindowParts FParts;
    QList<TPage*> FPages; // in tab order, after the hand-history page
    TDatabasePage* FDataPage = nullptr;
    TReportsPage* FReportPage = nullptr;
    QString FLastFolder;
    TRememberedSize FSize;
    bool FStartMaximised = false;
};
