#pragma once

#include "app/Page.h"
#include "import/ImportRun.h"
#include "platform/Busy.h"
#include "sources/FileLists.h"

#include <QElapsedTimer>
#include <QList>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TFileSource;
class TLocalFileSource;
class TRemoteFileSource;

// The "Hand Histories" page: a tab per file source (PageControl2), the
// commands that act on the source in front, the ring/tournament filter and
// the status line of the import.
class THandHistoryPage : public TPage
{
    Q_OBJECT
public:
    explicit THandHistoryPage(TWindowParts& parts);

    QString Caption() const override { return QStringLiteral("Hand Histories"); }
    void LoadSettings(TSettingsReader& reader) override;
    void SaveSettings(TSettingsWriter& writer) const override;

    // Adds a source as the last tab; the page owns it from here.
    void AddSource(TFileSource* source);
    TFileSource& ActiveSource() const;
    TLocalFileSource& LocalPage() const { return *FLocalPage; }
    TRemoteFileSource& RemotePage() const { return *FRemotePage; }

    // Called by an import that read hands, before it commits them: the window
    // closes the views that read the tables.
    std::function<void()> CloseViews = [] {};

    // Handlers.
    void RefreshBtnClick();
    void LoadHHBtnClick();
    void SelectAllBtnClick();
    void SelectNewBtnClick();
    void ImportBtnClick();
    void ShowRingClick();
    void ShowTrnyClick();
    void ShowBothClick();
    void PageControl2Change();

    // Operations on one source.
    int ShowFileList();
    void ListFiles(TFileSource& source);
    void ImportFiles(TFileSource& source);
    void ViewFile(TFileSource& source);

    QTabWidget* PageControl2;
    QPushButton *RefreshBtn, *LoadHHBtn, *SelectAllBtn, *SelectNewBtn, *ImportBtn;
    QRadioButton *ShowRing, *ShowTrny, *ShowBoth;
    QLabel* HHStatus;

private:
    void ConnectHandlers();
    TFileFilter Filter() const;
    // The import run's status line, boxes, wait cursor and drawing.
    class TImportFront : public TImportFrontEnd
    {
    public:
        explicit TImportFront(THandHistoryPage& page);
        void SetStatus(const QString& text) override;
        void ShowError(const QString& text) override;
        void CloseViews() override;
        void ShowPlain(const QString& text) override;
        void SetBusy(bool busy) override;
        void KeepDrawn() override;

    private:
        THandHistoryPage& FPage;
        TBusyHook FBusy;
        QElapsedTimer FSinceDrawn;
    };

    QList<TFileSource*> FSources; // in tab order
    TLocalFileSource* FLocalPage;
    TRemoteFileSource* FRemotePage;
};
