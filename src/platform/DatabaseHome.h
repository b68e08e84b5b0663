#pragma once

#include <QString>
#include <functional>

// Where the rake database file lives. A copy of the program in a folder its
// user can write (the build folder, a portable copy) keeps the file beside
// the executable; an installed copy sits in a folder nobody but root writes,
// so its file goes to the user's data folder instead.

// Tells whether a new file can be made in a folder.
using TWritableCheck = std::function<bool(const QString& folder)>;

// The operating system's answer for the running user: the folder exists and
// its user may create entries in it (false on a read-only filesystem, even
// for root).
bool FolderIsWritable(const QString& folder);

// The user's data folder for the program: ~/.local/share/Ostravel/Kestrum/
// (under the generic data location), with a trailing "/". Not made here.
QString UserDataFolder();

// The folder of fileName, with a trailing "/": executableFolder when it
// already holds fileName or is writable; otherwise dataFolder, made (mode
// 0700, readable by its user only) when missing.
QString RakeDatabaseFolder(const QString& fileName, const QString& executableFolder,
                           const QString& dataFolder, const TWritableCheck& isWritable = FolderIsWritable);

// The rule above for the running program: both front ends call this.
QString DatabaseFolder(const QString& fileName);
