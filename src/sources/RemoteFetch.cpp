#include "sources/RemoteFetch.h"

#include "sources/ApiClient.h"
#include "sources/ApiUrl.h"
#include "sources/RemoteEntries.h"

std::optional<QStringList> FetchRemoteList(TApiClient& client, const TConnectionFields& fields,
                                           QString& error, const TBusyHook& busy)
{
    QStringList reply;
    {
        TBusyScope scope(busy);
        reply = client.PostApiRequest(BuildApiUrl(fields), ListFormFields(fields.Password));
    }
    if (!ReplySucceeded(reply)) {
        error = ReplyValue(reply, QStringLiteral("Error"));
        return std::nullopt;
    }
    return BuildRemoteEntries(reply);
}

std::optional<QStringList> FetchRemoteEntry(TApiClient& client, const TConnectionFields& fields,
                                            const QString& entry, QString& error)
{
    QStringList reply = client.PostApiRequest(BuildApiUrl(fields), FetchFormFields(fields.Password, entry));
    if (!ReplySucceeded(reply)) {
        error = ReplyValue(reply, QStringLiteral("Error"));
        return std::nullopt;
    }
    reply.removeFirst();
    return reply;
}
