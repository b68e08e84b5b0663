#pragma once

#include "import/ImportRun.h"
#include "platform/Busy.h"
#include "platform/WindowSize.h"
#include "reports/ReportCatalogue.h"
#include "sources/ApiChecks.h"
#include "sources/FileLists.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTabWidget;
class QTableView;
class TApiClient;
class TDatabaseBrowser;
class TDataViewModel;
class THHViewForm;
class TMessageBoxes;
class TPicker;
class TRakeDatabase;
class TReportRunner;
class TSettingsStore;
class TShBrowse;

// Where the window keeps its files, and the dialogs it asks the user through.
// Production passes the executable's folder and the real dialogs; tests pass
// temporary places and answers.
struct TMainFormPlaces
{
    QString DatabaseFolder;                                   // folder of the database file
    QString DatabaseFileName;                                 // empty: "Kestrum2.db3"; else shown in the caption
    QString SettingsFile;                                     // empty: the user's settings
    std::function<std::unique_ptr<TShBrowse>()> NewFolderPicker; // empty: the real picker
    std::function<QString(QWidget*)> AskSaveFile;             // empty: the real save dialog; "" = cancelled
    std::function<QString(QWidget*)> AskImageFile;            // the same, for the chart's PNG
    int LockWaitMs = 60000; // how long an import waits for another program's lock on the file
};

// The real save dialog for CSV files; empty when cancelled.
QString AskCsvFileName(QWidget* parent);

// The main window: a switchboard whose handlers call the operations of the
// folders that own them.
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

    // State shared by the operations.
    TRakeDatabase& RakeDatabase() { return *FRakeDatabase; }
    THHViewForm& HHViewForm() { return *FHHViewForm; }
    const QString& RememberedFolder() const { return FLastFolder; }
    QSize RememberedSize() const { return {FSize.Width(), FSize.Height()}; }
    TFileLists LocalFiles, RemoteFiles;

    // Handlers of the command table.
    void RefreshBtnClick();
    void LoadHHBtnClick();
    void SelectAllBtnClick();
    void ImportBtnClick();
    void ShowRingClick() { Guard([this] { ShowFileList(); }); }
    void ShowTrnyClick() { Guard([this] { ShowFileList(); }); }
    void ShowBothClick() { Guard([this] { ShowFileList(); }); }
    void PageControl2Change() { Guard([this] { ShowFileList(); }); }
    void DBOpenBtnClick();
    void DBCloseBtnClick();
    void EmptyDBBtnClick();
    void MasterGridTitleClick(int column);
    void ReportListChange();
    void StartCBClick();
    void EndCBClick();
    void PickerChange();
    void LoadSQLBtnClick();
    void ExportBtnClick();
    void ChartBtnClick();
    void ReportGridTitleClick(int column);

    // Operations.
    int ShowFileList();
    void ListLocalFiles();
    void ImportLocalFiles();
    void ViewLocalFile();
    void ListRemoteFiles();
    void ImportRemoteFiles();
    void ViewRemoteFile();
    void CloseViews();
    void BuildReportSQL();

    // Runs a handler: any error it raises ends in the box for unhandled errors.
    void Guard(const std::function<void()>& operation);

    // Controls, named as the user reads them.
    QTabWidget* PageControl1;
    QWidget *HandHistoryPage, *DataPage, *ReportPage;
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
    QPushButton *DBOpenBtn, *DBCloseBtn, *EmptyDBBtn;
    QTableView *MasterGrid, *DetailGrid;
    QLabel *MasterStatus, *DetailStatus;
    QSplitter* DataSplitter;
    QCheckBox *StartCB, *EndCB;
    TPicker *StartDate, *StartTime, *EndDate, *EndTime;
    QComboBox* ReportList;
    QPushButton *ExportBtn, *ChartBtn;
    QPlainTextEdit* SQLMemo;
    QPushButton* LoadSQLBtn;
    QTableView* ReportGrid;
    QLabel* ReportStatus;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateParts();
    void ReleaseParts();
    void CreateViewer();
    void SetBrowseStatements();
    TDatabaseBrowser& Browser();
    // The import run's messages, status line, wait cursor and drawing.
    class TWindowImportFrontEnd : public TImportFrontEnd
    {
    public:
        explicit TWindowImportFrontEnd(TMainForm& form);
        void SetStatus(const QString& text) override;
        void ShowError(const QString& text) override;
        void CloseViews() override;
        void ShowPlain(const QString& text) override;
        void SetBusy(bool busy) override;
        void KeepDrawn() override;

    private:
        TMainForm& FForm;
        TBusyHook FBusy;
        QElapsedTimer FSinceDrawn;
    };
    std::optional<QString> CurrentEntry(QListWidget* list) const;
    TConnectionFields ConnectionFields() const;
    bool ConnectionChecksPass(bool serverCheckIsError);
    void BuildPages();
    void ConnectHandlers();
    void LoadSettings();
    void SaveSettings();
    void FormCloseQuery();
    void FormResize();
    void SetStatus(QLabel* line, const QString& text); // sets and repaints at once
    QListWidget* ActiveList() const;
    bool LocalPageActive() const;
    QStringList SelectedEntries(QListWidget* list) const;

    TMessageBoxes& FBoxes;
    TMainFormPlaces FPlaces;
    std::unique_ptr<TSettingsStore> FSettings;
    std::unique_ptr<TRakeDatabase> FRakeDatabase;
    std::unique_ptr<TDatabaseBrowser> FBrowser;
    std::unique_ptr<TReportRunner> FReports;
    std::unique_ptr<TApiClient> FApiClient;
    THHViewForm* FHHViewForm = nullptr;
    QString FLastFolder;
    TRememberedSize FSize;
    bool FStartMaximised = false;
    // What the loaded report was built from, for the chart's caption and title.
    QString FLoadedReportName;
    TReportLimit FLoadedStart, FLoadedEnd;
    QSize FChartSize; // kept for the run only
};
