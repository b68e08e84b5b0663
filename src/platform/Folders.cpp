#include "platform/Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString GetSpecialFolder(int folderId)
{
    if (folderId != CSIDL_APPDATA)
        return {};
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

bool DirectoryExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

QStringList EnumerateMatching(const QString& folder, const QString& pattern)
{
    QDir dir(folder);
    dir.setNameFilters({pattern});
    dir.setFilter(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    dir.setSorting(QDir::Unsorted);
    // QDir matches name filters without regard to case unless told otherwise.
    return dir.entryList();
}
