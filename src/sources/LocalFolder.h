#pragma once

#include "sources/FileLists.h"

#include "platform/DatabaseHome.h"

#include <QString>

// The folder the picker opens at: the remembered folder, else the server's
// hand-history folder under the application-data folder (the current layout,
// then the older one), else the executable's folder; each only when it is an
// existing directory. A remembered folder that is gone falls straight to the
// older layout: the current one is tried only when nothing is remembered.
// The executable's folder only for a copy in a folder its user can write (a
// build folder, a portable copy): an installed one, in /usr/bin, starts at
// the user's home instead.
QString StartingFolder(const QString& rememberedFolder, const TWritableCheck& isWritable = FolderIsWritable);

// Fills lists (cleared first) with the folder's "HH*.txt" entries, matched
// without regard to letter case, in the order the folder enumerates them.
// Returns the number of entries.
int ListLocalFolder(const QString& folder, TFileLists& lists);

// Where an entry of the listed folder is read from.
QString LocalEntryPath(const QString& folder, const QString& entry);
