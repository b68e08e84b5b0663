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

QString WithoutUserInfo(QString address)
{
    const qsizetype scheme = address.indexOf(QLatin1String("://"));
    const qsizetype hostStart = scheme < 0 ? 0 : scheme + 3;
    qsizetype hostEnd = address.indexOf(u'/', hostStart);
    if (hostEnd < 0)
        hostEnd = address.size();
    const qsizetype at = address.lastIndexOf(u'@', hostEnd - 1);
    if (at >= hostStart)
        address.remove(hostStart, at + 1 - hostStart);
    return address;
}
