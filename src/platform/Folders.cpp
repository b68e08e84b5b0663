#include "platform/Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <utility>
#include <vector>

namespace {
// The server's platform upper-cases names one UTF-16 unit at a time (its file
// system's case table), so a unit that would grow ("ß") stays as it is.
QString UpperUnits(const QString& name)
{
    QString upper = name;
    for (QChar& unit : upper)
        if (!unit.isSurrogate())
            unit = unit.toUpper();
    return upper;
}
} // namespace

QString GetSpecialFolder(int folderId)
{
    if (folderId != CSIDL_APPDATA)
        return {};
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QStringList DefaultHandHistoryFolders()
{
    const QString appData = GetSpecialFolder(CSIDL_APPDATA);
    return {appData + QStringLiteral("/Zantreo 3/HandHistory"),
            appData + QStringLiteral("/Zantreo/HandHistory")};
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
    const QStringList names = dir.entryList();
    // Linux hands entries back in hash order; the server's platform gives them
    // by name, ordinal after upper-casing, and the lists keep that order.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(names.size());
    for (const QString& name : names)
        keyed.emplace_back(UpperUnits(name), name);
    std::sort(keyed.begin(), keyed.end());
    QStringList sorted;
    sorted.reserve(names.size());
    for (auto& [upper, name] : keyed)
        sorted.append(std::move(name));
    return sorted;
}
