#pragma once

#include "platform/Busy.h"
#include "sources/ApiChecks.h"

#include <QString>
#include <QStringList>

class TApiClient;

// The server's hand-history list: the entries in reply order. Raises TError
// with the reply's Error text (a failed exchange's too). busy is shown while
// the request is under way.
QStringList FetchRemoteList(TApiClient& client, const TConnectionFields& fields, const TBusyHook& busy = {});

// One entry's text from the server: the reply's lines after its result line.
// Raises TError with the reply's Error text.
QStringList FetchRemoteEntry(TApiClient& client, const TConnectionFields& fields, const QString& entry);
