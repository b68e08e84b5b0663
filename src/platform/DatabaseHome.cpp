#include "platform/DatabaseHome.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

bool FolderIsWritable(const QString& folder)
{
    // The effective user's rights, as creating the file will meet them;
    // QFileInfo::isWritable reads mode bits, which say nothing of a
    // read-only mount.
    const QByteArray path = QFile::encodeName(folder);
    return QFileInfo(folder).isDir() && faccessat(AT_FDCWD, path.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

QString UserDataFolder()
{
    // The generic location, not the application's: the window and kestrum-cli
    // have different application names and must share one file.
    return WithTrailingDelimiter(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                                 QStringLiteral("/Ostravel/Kestrum"));
}

QString RakeDatabaseFolder(const QString& fileName, const QString& executableFolder,
                           const QString& dataFolder, const TWritableCheck& isWritable)
{
    const QString beside = WithTrailingDelimiter(executableFolder);
    // A file that is already there wins, even read-only: the user put it there.
    if (QFileInfo::exists(beside + fileName) || isWritable(beside))
        return beside;

    const QString data = WithTrailingDelimiter(dataFolder);
    if (!QFileInfo::exists(data)) {
        // Only the leaf is ours to lock down; its parents are shared places.
        QDir().mkpath(QFileInfo(QDir::cleanPath(data)).absolutePath());
        QDir().mkdir(data, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    // A folder that could not be made shows as the engine's error on opening.
    return data;
}

QString DatabaseFolder(const QString& fileName)
{
    return RakeDatabaseFolder(fileName, ExecutableFolder(), UserDataFolder());
}
