#include "db/TextPool.h"

#include <functional>

namespace {
std::uint32_t HashOf(std::string_view utf8)
{
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(utf8));
}
} // namespace

int TTextPool::InternLike(std::string_view utf8, int id)
{
    if (id >= 0 && Bytes(id) == utf8)
        return id;
    return Intern(utf8);
}

int TTextPool::Intern(std::string_view utf8)
{
    // At most half full, so a probe run stays short.
    if (2 * (FTexts.size() + 1) > static_cast<qsizetype>(FSlots.size()))
        Grow();
    const std::uint32_t hash = HashOf(utf8);
    const std::size_t mask = FSlots.size() - 1;
    std::size_t slot = hash & mask;
    for (; FSlots[slot] != 0; slot = (slot + 1) & mask) {
        const int id = static_cast<int>(FSlots[slot] - 1);
        if (FHashes[id] == hash && Bytes(id) == utf8)
            return id;
    }
    const int id = static_cast<int>(FTexts.size());
    FTexts.append(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    FBytes.insert(FBytes.end(), utf8.begin(), utf8.end());
    FOffsets.push_back(FBytes.size());
    FHashes.push_back(hash);
    FSlots[slot] = static_cast<std::uint32_t>(id) + 1;
    return id;
}

void TTextPool::Grow()
{
    std::vector<std::uint32_t> table(FSlots.empty() ? 64 : 2 * FSlots.size(), 0);
    const std::size_t mask = table.size() - 1;
    for (std::size_t id = 0; id < FHashes.size(); ++id) {
        std::size_t slot = FHashes[id] & mask;
        while (table[slot] != 0)
            slot = (slot + 1) & mask;
        table[slot] = static_cast<std::uint32_t>(id) + 1;
    }
    FSlots = std::move(table);
}
