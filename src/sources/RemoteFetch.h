#pragma once

#include "platform/Busy.h"
#include "platform/EntryText.h"
#include "sources/ApiChecks.h"

#include <QString>
#include <QStringList>

class TApiClient;

// The server's hand-history list: the entries in reply order. Raises TError
// with the reply's Error text (a failed exchange's too). busy is shown while
// the request is under way.
QStringList FetchRemoteList(TApiClient& client, const TConnectionFields& fields, const TBusyHook& busy = {});

// One entry's text from the server: the reply's lines after its result line,
// the size of the reply and the entry's source for the import log. Raises
// TError with the reply's Error text.
TEntryText FetchRemoteEntry(TApiClient& client, const TConnectionFields& fields, const QString& entry);

// The import log's name for a remote entry: the server's address as the file
// API is called, without a user or password, a "/" and the entry.
QString RemoteEntrySource(const TConnectionFields& fields, const QString& entry);
