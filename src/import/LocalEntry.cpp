#include "import/LocalEntry.h"

#include "import/StringList2.h"

#include <exception>

std::optional<QStringList> LoadLocalEntry(const QString& path, QString& error)
{
    TStringList2 lines;
    try {
        lines.LoadFromFile(path);
    } catch (const std::exception&) {
        error = QStringLiteral("Error loading ") + path;
        return std::nullopt;
    }
    return QStringList(std::move(lines));
}
