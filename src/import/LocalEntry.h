#pragma once

#include <QString>
#include <QStringList>

// The lines of a local hand-history file. Raises TError with the text of the
// error box ("Error loading " + path) when it cannot be read. Shared by the
// import run and the viewer, so both say the same.
QStringList LoadLocalEntry(const QString& path);
