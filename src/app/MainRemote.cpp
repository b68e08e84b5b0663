// The remote file page: list, import and view straight from the server.
#include "app/Main.h"

#include "app/Controls.h"
#include "app/MessageBoxes.h"
#include "import/ImportRun.h"
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
    const std::optional<TCheckFailure> failure = CheckConnectionFields(ConnectionFields());
    if (!failure)
        return true;
    if (failure->Check == TConnectionCheck::ServerIP && !serverCheckIsError)
        FParts.Boxes.Information(failure->Message);
    else
        FParts.Boxes.Error(failure->Message);
    return false;
}

void TMainForm::ListRemoteFiles()
{
    HHRemoteList->clear();
    RemoteFiles.Clear();
    RFileLabel->setText(QStringLiteral("Files:  0"));
    if (!ConnectionChecksPass(true))
        return;

    SetStatus(HHStatus, QStringLiteral("Retrieving hand history list ..."));
    QString error;
    const std::optional<QStringList> entries =
        FetchRemoteList(*FParts.ApiClient, ConnectionFields(), error, WaitCursorHook());
    if (!entries) {
        HHStatus->setText(QString());
        FParts.Boxes.Error(error);
        return;
    }
    for (const QString& entry : *entries)
        RemoteFiles.Add(entry);
    HHStatus->setText(QString());
    if (ShowFileList() == 0)
        FParts.Boxes.Information(QStringLiteral("No files found"));
}

void TMainForm::ImportRemoteFiles()
{
    const QStringList entries = SelectedEntries(HHRemoteList);
    if (entries.isEmpty()) {
        FParts.Boxes.Error(QStringLiteral("No history files selected"));
        return;
    }
    if (!ConnectionChecksPass(false))
        return;
    const TConnectionFields fields = ConnectionFields();
    TImportRunHooks hooks = ImportRunHooks();
    hooks.Fetch = [this, &fields](const QString& entry, QString& error) {
        return FetchRemoteEntry(*FParts.ApiClient, fields, entry, error);
    };
    RunImport(*FParts.RakeDatabase, entries, QStringLiteral("Retrieving"), hooks);
}

void TMainForm::ViewRemoteFile()
{
    if (!ConnectionChecksPass(false))
        return;
    if (HHRemoteList->selectedItems().size() >= 2) {
        FParts.Boxes.Error(QStringLiteral("More than 1 history file selected"));
        return;
    }
    const std::optional<QString> entry = CurrentEntry(HHRemoteList);
    if (!entry) {
        FParts.Boxes.Error(QStringLiteral("No hand history file selected in list"));
        return;
    }
    QString error;
    const std::optional<QStringList> lines =
        FetchRemoteEntry(*FParts.ApiClient, ConnectionFields(), *entry, error);
    if (!lines) {
        FParts.Boxes.Error(error);
        return;
    }
    FParts.HHViewForm->ShowLines(*entry, *lines);
}
