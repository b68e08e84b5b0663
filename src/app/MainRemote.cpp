// The remote file page: list, import and view straight from the server.
#include "app/Main.h"

#include "app/MessageBoxes.h"
#include "import/ImportRun.h"
#include "platform/Error.h"
#include "platform/ui/BusyCursor.h"
#include "sources/ApiChecks.h"
#include "sources/RemoteFetch.h"
#include "viewer/HHView.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

TConnectionFields TMainForm::ConnectionFields() const
{
    return {ServerIP->text(), FilePort->text(), APIPath->text(), APIPW->text()};
}

bool TMainForm::ConnectionChecksPass(bool serverCheckIsError)
{
    try {
        CheckConnectionFields(ConnectionFields());
        return true;
    } catch (const TCheckFailure& failure) {
        if (failure.Check() == TConnectionCheck::ServerIP && !serverCheckIsError)
            FBoxes.Information(failure.Message());
        else
            FBoxes.Error(failure.Message());
        return false;
    }
}

void TMainForm::ListRemoteFiles()
{
    HHRemoteList->clear();
    RemoteFiles.Clear();
    RFileLabel->setText(QStringLiteral("Files:  0"));
    if (!ConnectionChecksPass(true))
        return;

    SetStatus(HHStatus, QStringLiteral("Retrieving hand history list ..."));
    QStringList entries;
    try {
        entries = FetchRemoteList(*FApiClient, ConnectionFields(), WaitCursorHook());
    } catch (const TError& e) {
        HHStatus->setText(QString());
        FBoxes.Error(e.Message());
        return;
    }
    for (const QString& entry : entries)
        RemoteFiles.Add(entry);
    HHStatus->setText(QString());
    if (ShowFileList() == 0)
        FBoxes.Information(QStringLiteral("No files found"));
}

void TMainForm::ImportRemoteFiles()
{
    const QStringList entries = SelectedEntries(HHRemoteList);
    if (entries.isEmpty()) {
        FBoxes.Error(QStringLiteral("No history files selected"));
        return;
    }
    if (!ConnectionChecksPass(false))
        return;
    const TConnectionFields fields = ConnectionFields();
    TWindowImportFrontEnd frontEnd(*this);
    RunImport(
        *FRakeDatabase, entries, QStringLiteral("Retrieving"),
        [this, &fields](const QString& entry) { return FetchRemoteEntry(*FApiClient, fields, entry); }, frontEnd);
}

void TMainForm::ViewRemoteFile()
{
    if (!ConnectionChecksPass(false))
        return;
    if (HHRemoteList->selectedItems().size() >= 2) {
        FBoxes.Error(QStringLiteral("More than 1 history file selected"));
        return;
    }
    const std::optional<QString> entry = CurrentEntry(HHRemoteList);
    if (!entry) {
        FBoxes.Error(QStringLiteral("No hand history file selected in list"));
        return;
    }
    QStringList lines;
    try {
        lines = FetchRemoteEntry(*FApiClient, ConnectionFields(), *entry).Lines;
    } catch (const TError& e) {
        FBoxes.Error(e.Message());
        return;
    }
    FHHViewForm->ShowLines(*entry, lines);
}
