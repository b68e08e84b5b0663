#pragma once

#include "platform/Busy.h"
#include "sources/ApiChecks.h"

#include <QString>
#include <QStringList>
#include <optional>

class TApiClient;

// The server's hand-history list: the entries in reply order, or nothing with
// the reply's Error text. busy is shown while the request is under way.
std::optional<QStringList> FetchRemoteList(TApiClient& client, const TConnectionFields& fields,
                                           QString& error, const TBusyHook& busy = {});

// One entry's text from the server: the reply's lines after its result line,
// or nothing with the reply's Error text.
std::optional<QStringList> FetchRemoteEntry(TApiClient& client, const TConnectionFields& fields,
                                            const QString& entry, QString& error);
