#include "sources/ApiUrl.h"

QString BuildApiUrl(const TConnectionFields& fields)
{
    QString url = fields.ServerIP;
    if (!url.contains(QLatin1String("http"), Qt::CaseSensitive))
        url.prepend(QLatin1String("http://"));
    if (fields.FilePort != QLatin1String("80"))
        url += QLatin1Char(':') + fields.FilePort;
    url += QLatin1Char('/') + fields.APIPath;
    return url;
}
