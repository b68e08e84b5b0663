#include "sources/RemoteFetch.h"

#include "platform/Error.h"
#include "sources/ApiClient.h"
#include "sources/ApiUrl.h"
#include "sources/RemoteEntries.h"

namespace {
// A failed exchange reads like any error the server reports: its local error
// reply carries the text.
void RaiseUnlessSucceeded(const QStringList& reply)
{
    if (!ReplySucceeded(reply))
        throw TError(ReplyValue(reply, QStringLiteral("Error")));
}
} // namespace

QStringList FetchRemoteList(TApiClient& client, const TConnectionFields& fields, const TBusyHook& busy)
{
    QStringList reply;
    {
        TBusyScope scope(busy);
        reply = client.PostApiRequest(BuildApiUrl(fields), ListFormFields(fields.Password));
    }
    RaiseUnlessSucceeded(reply);
    return BuildRemoteEntries(reply);
}

QStringList FetchRemoteEntry(TApiClient& client, const TConnectionFields& fields, const QString& entry)
{
    QStringList reply = client.PostApiRequest(BuildApiUrl(fields), FetchFormFields(fields.Password, entry));
    RaiseUnlessSucceeded(reply);
    reply.removeFirst();
    return reply;
}
