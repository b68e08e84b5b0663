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

TEntryText FetchRemoteEntry(TApiClient& client, const TConnectionFields& fields, const QString& entry)
{
    TEntryText text;
    text.Lines = client.PostApiRequest(BuildApiUrl(fields), FetchFormFields(fields.Password, entry));
    RaiseUnlessSucceeded(text.Lines);
    text.Lines.removeFirst();
    text.Bytes = client.LastReplyBytes();
    text.Source = RemoteEntrySource(fields, entry);
    return text;
}

QString RemoteEntrySource(const TConnectionFields& fields, const QString& entry)
{
    // A user and password typed into the server field stay out of the log.
    return WithoutUserInfo(BuildApiUrl(fields)) + QLatin1Char('/') + entry;
}
