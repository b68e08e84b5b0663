// The "Hand Histories" page: the file lists, the local folder and the commands
// that dispatch on the active file page.
#include "app/Main.h"

#include "app/Controls.h"
#include "app/DatabasePage.h"
#include "app/MessageBoxes.h"
#include "import/ImportRun.h"
#include "import/LocalEntry.h"
#include "platform/ui/BusyCursor.h"
#include "platform/ui/ShBrowseU.h"
#include "sources/LocalFolder.h"
#include "viewer/HHView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>

bool TMainForm::LocalPageActive() const
{
    return PageControl2->currentWidget() == LocalPage;
}

QListWidget* TMainForm::ActiveList() const
{
    return LocalPageActive() ? HHLocalList : HHRemoteList;
}

QStringList TMainForm::SelectedEntries(QListWidget* list) const
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            entries.append(list->item(i)->text());
    return entries;
}

std::optional<QString> TMainForm::CurrentEntry(QListWidget* list) const
{
    // The entry with the focus mark; a filled list always has one, the first at the start.
    if (list->count() == 0)
        return std::nullopt;
    const int row = list->currentRow() >= 0 ? list->currentRow() : 0;
    return list->item(row)->text();
}

void TMainForm::RefreshBtnClick()
{
    Guard([this] { LocalPageActive() ? ListLocalFiles() : ListRemoteFiles(); });
}

void TMainForm::LoadHHBtnClick()
{
    Guard([this] { LocalPageActive() ? ViewLocalFile() : ViewRemoteFile(); });
}

void TMainForm::SelectAllBtnClick()
{
    Guard([this] { ActiveList()->selectAll(); });
}

void TMainForm::ImportBtnClick()
{
    Guard([this] { LocalPageActive() ? ImportLocalFiles() : ImportRemoteFiles(); });
}

int TMainForm::ShowFileList()
{
    const bool local = LocalPageActive();
    QListWidget* list = local ? HHLocalList : HHRemoteList;
    QLabel* label = local ? LFileLabel : RFileLabel;
    const TFileFilter filter = ShowRing->isChecked()   ? TFileFilter::Ring
                               : ShowTrny->isChecked() ? TFileFilter::Trny
                               : ShowBoth->isChecked() ? TFileFilter::Both
                                                       : TFileFilter::None;
    const QStringList& entries = FilteredList(local ? LocalFiles : RemoteFiles, filter);
    list->clear();
    list->addItems(entries);
    label->setText(QStringLiteral("Files:  %1").arg(list->count()));
    list->clearSelection();
    return list->count();
}

void TMainForm::ListLocalFiles()
{
    HHLocalList->clear();
    LocalFiles.Clear();
    LocalFolder->clear();
    LFileLabel->setText(QStringLiteral("Files:  0"));

    std::unique_ptr<TShBrowse> picker =
        FParts.Places.NewFolderPicker ? FParts.Places.NewFolderPicker() : std::make_unique<TShBrowse>();
    picker->SetCaption(QStringLiteral("Browse for folder"));
    picker->SetUserMessage(QStringLiteral("Select hand history folder"));
    picker->SetInitFolder(StartingFolder(FLastFolder));
    const QString folder = picker->Execute() ? picker->Folder() : QString();
    picker.reset();
    if (folder.isEmpty())
        return;

    FLastFolder = folder;
    LocalFolder->setText(folder);
    HHLocalList->clear();
    ListLocalFolder(folder, LocalFiles);
    HHStatus->setText(QString());
    if (ShowFileList() == 0)
        FParts.Boxes.Information(QStringLiteral("No files found"));
}

void TMainForm::ImportLocalFiles()
{
    const QStringList entries = SelectedEntries(HHLocalList);
    if (entries.isEmpty()) {
        FParts.Boxes.Error(QStringLiteral("No history files selected"));
        return;
    }
    const QString folder = LocalFolder->text();
    TImportRunHooks hooks = ImportRunHooks();
    hooks.Fetch = [&folder](const QString& entry, QString& error) {
        return LoadLocalEntry(LocalEntryPath(folder, entry), error);
    };
    RunImport(*FParts.RakeDatabase, entries, QStringLiteral("Loading"), hooks);
}

TImportRunHooks TMainForm::ImportRunHooks()
{
    TImportRunHooks hooks;
    hooks.SetStatus = [this](const QString& text) { SetStatus(HHStatus, text); };
    hooks.ShowError = [this](const QString& text) { FParts.Boxes.Error(text); };
    hooks.CloseViews = [this] { FDataPage->CloseViews(); };
    hooks.ShowPlain = [this](const QString& text) { FParts.Boxes.Plain(text); };
    hooks.Busy = WaitCursorHook();
    // Drawn between files, with no click taken until the run ends. A round of
    // events repaints much of the window (the status line changed its text),
    // so it runs at most ten times a second: often enough to stay drawn, rare
    // enough to cost nothing next to the import. The status line itself is
    // repainted at once for every file either way.
    hooks.KeepDrawn = [since = std::make_shared<QElapsedTimer>()] {
        if (since->isValid() && since->elapsed() < 100)
            return;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        since->start();
    };
    return hooks;
}

void TMainForm::ViewLocalFile()
{
    const std::optional<QString> current = CurrentEntry(HHLocalList);
    if (!current) {
        FParts.Boxes.Error(QStringLiteral("No hand history file selected in list"));
        return;
    }
    QString error;
    const std::optional<QStringList> lines =
        LoadLocalEntry(LocalEntryPath(LocalFolder->text(), *current), error);
    if (!lines) {
        FParts.Boxes.Error(error);
        return;
    }
    FParts.HHViewForm->ShowLines(*current, *lines);
}
