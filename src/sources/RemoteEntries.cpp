#include "sources/RemoteEntries.h"

#include "sources/ApiChecks.h"
#include "sources/ApiClient.h"

#include <QHash>
#include <climits>

namespace {

// No real server lists this many files; the bound keeps a reply such as "Files=2000000000"
// from building entries until the memory runs out.
constexpr int MaxRemoteFiles = 1'000'000;

} // namespace

int ReplyFileCount(const QStringList& listReply)
{
    const QString text = TrimBlanks(ReplyValue(listReply, QStringLiteral("Files")));
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return 0;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return 0;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > qint64(INT_MAX) + 1)
            return 0;
    }
    value = negative ? -value : value;
    return value > INT_MAX ? 0 : int(value);
}

QStringList BuildRemoteEntries(const QStringList& listReply)
{
    const int count = qMin(ReplyFileCount(listReply), MaxRemoteFiles);
    if (count <= 0)
        return {};
    // One pass over the reply instead of a lookup per key: a long list stays linear.
    // The first line of a name wins, as in the key lookup.
    QHash<QString, QString> values;
    for (const QString& line : listReply) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals >= 0) {
            const QString key = line.left(equals).toCaseFolded();
            if (!values.contains(key))
                values.insert(key, line.mid(equals + 1));
        }
    }
    QStringList entries;
    entries.reserve(count);
    for (int i = 1; i <= count; ++i) {
        const QString number = QString::number(i);
        entries.append(QLatin1String("HH") + values.value(QLatin1String("date") + number) + QLatin1Char(' ') +
                       values.value(QLatin1String("name") + number) + QLatin1String(".txt"));
    }
    return entries;
}

QString RemoteEntryDate(const QString& entry)
{
    return entry.mid(2, 10);
}

QString RemoteEntryName(const QString& entry)
{
    return entry.size() > 17 ? entry.mid(13, entry.size() - 17) : QString();
}

TFormFields ListFormFields(const QString& password)
{
    return {{QStringLiteral("Command"), QStringLiteral("LogsHandHistory")},
            {QStringLiteral("Password"), password}};
}

TFormFields FetchFormFields(const QString& password, const QString& entry)
{
    TFormFields fields = ListFormFields(password);
    fields.append({QStringLiteral("Date"), RemoteEntryDate(entry)});
    fields.append({QStringLiteral("Name"), RemoteEntryName(entry)});
    return fields;
}
