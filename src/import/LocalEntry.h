#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The lines of a local hand-history file, or nothing with the text of the
// error box ("Error loading " + path) when it cannot be read. Shared by the
// import run and the viewer, so both say the same.
std::optional<QStringList> LoadLocalEntry(const QString& path, QString& error);
