#include "platform/Paths.h"

#include <QCoreApplication>

QString ExecutableFolder()
{
    return WithTrailingDelimiter(QCoreApplication::applicationDirPath());
}

QString WithTrailingDelimiter(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}
