#include "import/PlayerLedger.h"

#include <algorithm>
#include <cstring>

TPlayerLedger::TPlayerLedger()
{
    FCollator.setCaseSensitivity(Qt::CaseInsensitive);
}

int TPlayerLedger::Compare(QStringView a, QStringView b) const
{
    const int byLocale = FCollator.compare(a, b);
    if (byLocale != 0)
        return byLocale;
    return a.compare(b, Qt::CaseInsensitive);
}

qsizetype TPlayerLedger::Search(QStringView name, bool& found) const
{
    // A hand names the same few players over and over, nearly always in the
    // same spelling: an exact match needs no locale compare.
    const qsizetype size = name.size();
    const char16_t* const units = name.utf16();
    for (qsizetype i = 0; i < Count(); ++i) {
        const QString& entry = FEntries[i].Name;
        if (entry.size() != size)
            continue;
        // Most names of a table differ in their first letter already.
        const char16_t* const other = reinterpret_cast<const char16_t*>(entry.constData());
        if (size == 0 ||
            (other[0] == units[0] && std::memcmp(other, units, static_cast<size_t>(size) * 2) == 0)) {
            found = true;
            return i;
        }
    }
    qsizetype low = 0;
    qsizetype high = Count();
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        const int order = Compare(FEntries[middle].Name, name);
        if (order == 0) {
            found = true;
            return middle;
        }
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    found = false;
    return low;
}

qsizetype TPlayerLedger::SearchOrder(QStringView name, TOrder::const_iterator& place) const
{
    place = FOrder.lower_bound(name);
    return place != FOrder.end() && Compare(FEntries[*place].Name, name) == 0 ? *place : -1;
}

Q_ALWAYS_INLINE TPlayerLedger::TEntry& TPlayerLedger::TakeSpare(QStringView name)
{
    if (FCount == static_cast<qsizetype>(FEntries.size()))
        FEntries.emplace_back();
    TEntry& spare = FEntries[FCount];
    // resize keeps the spare name's capacity; only a longer name allocates.
    spare.Name.resize(name.size());
    std::copy(name.begin(), name.end(), spare.Name.begin());
    spare.Player = TPlayer{};
    return spare;
}

TPlayer& TPlayerLedger::FindOrAdd(QStringView name)
{
    if (!FOrder.empty())
        return FindOrAddInOrder(name);
    bool found = false;
    const qsizetype at = Search(name, found);
    if (found)
        return FEntries[at].Player;
    if (FCount == SmallCount)
        return FindOrAddInOrder(name);
    TakeSpare(name);
    std::rotate(FEntries.begin() + at, FEntries.begin() + FCount, FEntries.begin() + FCount + 1);
    ++FCount;
    return FEntries[at].Player;
}

TPlayer& TPlayerLedger::FindOrAddInOrder(QStringView name)
{
    if (FOrder.empty()) {
        // The entries stand in order: each goes in at the end.
        for (qsizetype i = 0; i < FCount; ++i)
            FOrder.emplace_hint(FOrder.end(), i);
    }
    TOrder::const_iterator place;
    const qsizetype at = SearchOrder(name, place);
    if (at >= 0)
        return FEntries[at].Player;
    TEntry& added = TakeSpare(name);
    FOrder.emplace_hint(place, FCount++);
    return added.Player;
}

TPlayer* TPlayerLedger::Find(QStringView name)
{
    if (!FOrder.empty()) {
        TOrder::const_iterator place;
        const qsizetype at = SearchOrder(name, place);
        return at >= 0 ? &FEntries[at].Player : nullptr;
    }
    bool found = false;
    const qsizetype at = Search(name, found);
    return found ? &FEntries[at].Player : nullptr;
}
