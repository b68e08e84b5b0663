#include "sources/LocalFolder.h"

#include "platform/Folders.h"
#include "platform/Paths.h"

#include <QDir>

QString StartingFolder(const QString& rememberedFolder, const TWritableCheck& isWritable)
{
    const QStringList defaults = DefaultHandHistoryFolders();
    QString folder = rememberedFolder;
    if (folder.isEmpty())
        folder = defaults[0];
    if (!DirectoryExists(folder))
        folder = defaults[1];
    if (!DirectoryExists(folder))
        folder = isWritable(ExecutableFolder()) ? ExecutableFolder() : QDir::homePath();
    return folder;
}

int ListLocalFolder(const QString& folder, TFileLists& lists)
{
    lists.Clear();
    for (const QString& name : EnumerateMatching(WithTrailingDelimiter(folder), QStringLiteral("HH*.txt")))
        lists.Add(name);
    return int(lists.Both.size());
}

QString LocalEntryPath(const QString& folder, const QString& entry)
{
    return WithTrailingDelimiter(folder) + entry;
}
