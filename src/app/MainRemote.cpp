// The remote file page: list, import and view straight from the server.
#include "app/Main.h"

#include "app/MessageBoxes.h"
#include "import/ImportRun.h"
#include "platform/BusyCursor.h"
#include "sources/ApiChecks.h"
#include "sources/ApiClient.h"
#include "sources/ApiUrl.h"
#include "sources/RemoteEntries.h"
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
        FBoxes.Information(failure->Message);
    else
        FBoxes.Error(failure->Message);
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
    QStringList reply;
    {
        TBusyCursor cursor;
        reply = FApiClient->PostApiRequest(BuildApiUrl(ConnectionFields()), ListFormFields(APIPW->text()));
    }
    if (!ReplySucceeded(reply)) {
        HHStatus->setText(QString());
        FBoxes.Error(ReplyValue(reply, QStringLiteral("Error")));
        return;
    }
    for (const QString& entry : BuildRemoteEntries(reply))
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
    const QString url = BuildApiUrl(ConnectionFields());
    const QString password = APIPW->text();
    TImportRunHooks hooks = ImportRunHooks();
    hooks.Fetch = [&](const QString& entry, QString& error) -> std::optional<QStringList> {
        QStringList reply = FApiClient->PostApiRequest(url, FetchFormFields(password, entry));
        if (!ReplySucceeded(reply)) {
            error = ReplyValue(reply, QStringLiteral("Error"));
            return std::nullopt;
        }
        reply.removeFirst();
        return reply;
    };
    RunImport(*FRakeDatabase, entries, QStringLiteral("Retrieving"), hooks);
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
    QStringList reply =
        FApiClient->PostApiRequest(BuildApiUrl(ConnectionFields()), FetchFormFields(APIPW->text(), *entry));
    if (!ReplySucceeded(reply)) {
        FBoxes.Error(ReplyValue(reply, QStringLiteral("Error")));
        return;
    }
    reply.removeFirst();
    FHHViewForm->ShowLines(*entry, reply);
}
