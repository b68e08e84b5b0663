#include "import/LocalEntry.h"

#include "import/StringList2.h"
#include "platform/Error.h"

#include <exception>

QStringList LoadLocalEntry(const QString& path)
{
    TStringList2 lines;
    try {
        lines.LoadFromFile(path);
    } catch (const std::exception&) {
        // Whatever the cause (a missing file, a folder, no memory for it), the user reads this.
        throw TError(QStringLiteral("Error loading ") + path);
    }
    return QStringList(std::move(lines));
}
