#pragma once

#include <QString>
#include <QStringList>

// The identifier of the current user's roaming application-data folder.
inline constexpr int CSIDL_APPDATA = 0x1A;

// The file-system path of a special folder; empty when the platform has none.
// Here the roaming application-data folder is the user's data folder.
QString GetSpecialFolder(int folderId);

// Where the server keeps its hand histories when installed with its defaults,
// under the application-data folder: the current layout, then the older one.
QStringList DefaultHandHistoryFolders();

// True for an existing directory, symbolic links followed.
bool DirectoryExists(const QString& path);

// The names in folder matching a wildcard pattern such as "HH*.txt": letter
// case ignored, every kind of entry (hidden files and sub-folders too), in the
// order the server's platform enumerates a folder: by name, ordinal after
// upper-casing each UTF-16 unit, ties by the name itself. Empty when the
// folder cannot be read.
QStringList EnumerateMatching(const QString& folder, const QString& pattern);
