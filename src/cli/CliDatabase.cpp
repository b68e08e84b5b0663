#include "cli/CliDatabase.h"

#include "platform/DatabaseHome.h"

#include <QFileInfo>

std::unique_ptr<TRakeDatabase> OpenCommandDatabase(const QCommandLineParser& parser, const QString& before)
{
    const QString file =
        parser.isSet(QStringLiteral("database")) ? parser.value(QStringLiteral("database")) : before;
    std::unique_ptr<TRakeDatabase> database;
    if (file.isEmpty()) {
        database = std::make_unique<TRakeDatabase>(DatabaseFolder(QLatin1String(TRakeDatabase::DatabaseFileName)));
    } else {
        const QFileInfo info(file);
        database = std::make_unique<TRakeDatabase>(info.absolutePath(), info.fileName());
    }
    database->OpenRakeDatabase();
    return database;
}
