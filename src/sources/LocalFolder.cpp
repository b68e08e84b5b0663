#include "sources/LocalFolder.h"

#include "platform/Folders.h"
#include "platform/Paths.h"

QString StartingFolder(const QString& rememberedFolder)
{
    const QString appData = GetSpecialFolder(CSIDL_APPDATA);
    QString folder = rememberedFolder;
    if (folder.isEmpty())
        folder = appData + QStringLiteral("/Zantreo 3/HandHistory");
    if (!DirectoryExists(folder))
        folder = appData + QStringLiteral("/Zantreo/HandHistory");
    if (!DirectoryExists(folder))
        folder = ExecutableFolder();
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
