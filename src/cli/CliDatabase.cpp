#include "cli/CliDatabase.h"

#include "platform/DatabaseHome.h"
#include "platform/Error.h"

#include <QFileInfo>

namespace {
// A scheduled run that meets another one, or a long report in the window,
// waits its turn rather than losing the night's import.
constexpr int CliLockWaitMs = 15 * 60 * 1000;
} // namespace

std::unique_ptr<TRakeDatabase> OpenCommandDatabase(const QCommandLineParser& parser, const QString& before,
                                                   TDatabaseUse use)
{
    const QString file =
        parser.isSet(QStringLiteral("database")) ? parser.value(QStringLiteral("database")) : before;
    std::unique_ptr<TRakeDatabase> database;
    QString shown = file; // the path as the user gave it
    if (file.isEmpty()) {
        database =
            std::make_unique<TRakeDatabase>(DatabaseFolder(QLatin1String(TRakeDatabase::DatabaseFileName)));
        shown = database->Path();
    } else {
        const QFileInfo info(file);
        database = std::make_unique<TRakeDatabase>(info.absolutePath(), info.fileName());
    }
    database->SetLockWait(CliLockWaitMs);
    if (use == TDatabaseUse::Read) {
        if (!QFileInfo::exists(database->Path()))
            throw TError(QStringLiteral("No database at %1").arg(shown));
        database->OpenExistingRakeDatabase();
    } else {
        database->OpenRakeDatabase();
    }
    return database;
}
