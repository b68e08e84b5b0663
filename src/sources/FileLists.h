#pragma once

#include <QString>
#include <QStringList>

// True for a ring-game file: the last 16 characters of the name (or the whole
// name when shorter) do not hold " - Table ".
bool IsRingGameFile(const QString& fileName);

// The three stored lists of one source. Never sorted; duplicates kept.
struct TFileLists
{
    QStringList Ring, Trny, Both;

    void Clear()
    {
        Ring.clear();
        Trny.clear();
        Both.clear();
    }
    // Appends to Both and to Ring or Trny by IsRingGameFile.
    void Add(const QString& entry);
};

// Which stored list the filter shows, tested in the order ring, tournaments, both.
enum class TFileFilter
{
    None,
    Ring,
    Trny,
    Both
};
const QStringList& FilteredList(const TFileLists& lists, TFileFilter filter);
