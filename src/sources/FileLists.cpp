#include "sources/FileLists.h"

bool IsRingGameFile(const QString& fileName)
{
    const QStringView tail = QStringView(fileName).right(16);
    return !tail.contains(QLatin1String(" - Table "));
}

void TFileLists::Add(const QString& entry)
{
    Both.append(entry);
    (IsRingGameFile(entry) ? Ring : Trny).append(entry);
}

const QStringList& FilteredList(const TFileLists& lists, TFileFilter filter)
{
    static const QStringList none;
    switch (filter) {
    case TFileFilter::Ring:
        return lists.Ring;
    case TFileFilter::Trny:
        return lists.Trny;
    case TFileFilter::Both:
        return lists.Both;
    case TFileFilter::None:
        break;
    }
    return none;
}
