// The vector helpers against their plain versions, over the same inputs at
// every offset and length around a block: both are compiled on every build.
#include "platform/Simd.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

// Units that matter to the helpers (blanks, stops, breaks, NUL, wide ones)
// among ordinary text.
std::vector<char16_t> Units(std::mt19937& random, int size)
{
    static const char16_t pool[] = {u'a', u'Z', u' ', u':', u'"',   u'\r',  u'\n',  0,      13,    14,
                                    12,   u'9', 0x80, 0xE9, 0x20AC, 0xD83D, 0xFFFF, 0x0D00, 0x200D};
    std::vector<char16_t> units(size_t(size) + 16, u'x');
    for (int k = 0; k < size; ++k)
        units[size_t(k)] = random() % 3 ? char16_t(u'a' + random() % 26) : pool[random() % std::size(pool)];
    return units;
}

TEST(Simd, EveryHelperAgreesWithItsPlainVersion)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const int size = int(random() % 70);
        const std::vector<char16_t> units = Units(random, size);
        for (int at = 0; at + 8 <= size; ++at) {
            const TUnitMasks plain = SimdPlain::BlockMasks(units.data() + at);
            const TUnitMasks used = Simd::BlockMasks(units.data() + at);
            ASSERT_EQ(used.Blanks, plain.Blanks) << "round " << round << " at " << at;
            ASSERT_EQ(used.Stops, plain.Stops) << "round " << round << " at " << at;
        }
        for (int at = 0; at <= size; ++at)
            ASSERT_EQ(Simd::FindControlBreak(units.data(), at, size),
                      SimdPlain::FindControlBreak(units.data(), at, size))
                << "round " << round << " at " << at;

        // Bytes: ASCII runs broken by wider bytes at every place.
        std::vector<unsigned char> bytes(static_cast<size_t>(size));
        for (unsigned char& b : bytes)
            b = random() % 9 ? static_cast<unsigned char>(0x20 + random() % 0x5F)
                             : static_cast<unsigned char>(0x80 + random() % 0x80);
        for (int at = 0; at <= size; ++at) {
            std::vector<char16_t> plainOut(bytes.size() + 16, 0), usedOut(bytes.size() + 16, 0);
            char16_t* plainEnd = plainOut.data();
            char16_t* usedEnd = usedOut.data();
            const unsigned char* begin = bytes.data() + at;
            const unsigned char* end = bytes.data() + bytes.size();
            ASSERT_EQ(Simd::WidenAscii(begin, end, usedEnd), SimdPlain::WidenAscii(begin, end, plainEnd))
                << "round " << round << " at " << at;
            ASSERT_EQ(usedEnd - usedOut.data(), plainEnd - plainOut.data());
            ASSERT_TRUE(std::equal(plainOut.data(), plainEnd, usedOut.data()));
        }
    }
}

TEST(Simd, PlainVersionsFindWhatTheyAreFor)
{
    const char16_t line[] = u"ab: \"c d\r\n";
    const TUnitMasks masks = SimdPlain::BlockMasks(line);
    EXPECT_EQ(masks.Blanks, 0b0100'1000u); // units 3 and 6
    EXPECT_EQ(masks.Stops, 0b0001'0100u);  // units 2 and 4
    EXPECT_EQ(SimdPlain::FindControlBreak(line, 0, 10), 8);
    EXPECT_EQ(SimdPlain::FindControlBreak(line, 9, 10), 9);
    EXPECT_EQ(SimdPlain::FindControlBreak(line, 0, 8), 8);
    const unsigned char bytes[] = {'H', 'a', 0xC3, 0xA9};
    char16_t out[4];
    char16_t* end = out;
    EXPECT_EQ(SimdPlain::WidenAscii(bytes, bytes + 4, end), bytes + 2);
    EXPECT_EQ(end - out, 2);
    EXPECT_EQ(out[1], u'a');
}

} // namespace
