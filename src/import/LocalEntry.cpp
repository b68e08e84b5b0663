#include "import/LocalEntry.h"

#include "import/StringList2.h"
#include "platform/Error.h"

#include <QFileInfo>
#include <exception>

QString LocalEntrySource(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

TEntryText LoadLocalEntry(const QString& path)
{
    TStringList2 lines;
    try {
        lines.LoadFromFile(path);
    } catch (const std::exception&) {
        // Whatever the cause (a missing file, a folder, no memory for it), the user reads this.
        throw TError(QStringLiteral("Error loading ") + path);
    }
    TEntryText text;
    text.Source = LocalEntrySource(path);
    text.Bytes = lines.BytesRead();
    text.Modified = lines.Modified();
    text.Lines = std::move(lines);
    return text;
}
