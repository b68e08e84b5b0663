#pragma once

#include "platform/EntryText.h"

#include <QString>

// A local hand-history file's lines, with its absolute path (links not
// resolved), size and modification for the import log. Raises TError with the
// text of the error box ("Error loading " + path) when it cannot be read.
// Shared by the import run and the viewer, so both say the same.
TEntryText LoadLocalEntry(const QString& path);

// The import log's name for a local file: its absolute path, links not resolved.
QString LocalEntrySource(const QString& path);
