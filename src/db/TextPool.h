#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Each distinct text of a result once, numbered in order of first sight. The
// UTF-8 bytes are kept in one block with an open-addressing table of 32-bit
// numbers over them, so a text seen before costs a hash and a compare, and a
// new one costs its bytes, its QString and a few words.
class TTextPool
{
public:
    // The number of the text, adding it when it is new.
    int Intern(std::string_view utf8);
    // The number of the text when it equals text `id` (the caller's last one),
    // without hashing; otherwise as Intern.
    int InternLike(std::string_view utf8, int id);

    const QString& Text(int id) const { return FTexts[id]; }
    int Size() const { return static_cast<int>(FTexts.size()); }

private:
    std::string_view Bytes(int id) const
    {
        return {FBytes.data() + FOffsets[id], FOffsets[id + 1] - FOffsets[id]};
    }
    void Grow();

    QStringList FTexts;
    std::vector<char> FBytes;
    std::vector<std::size_t> FOffsets{0};
    std::vector<std::uint32_t> FHashes; // by id: probes compare bytes only on a full match
    std::vector<std::uint32_t> FSlots;  // id + 1; 0 for a free slot
};
