#include "platform/TextCodec.h"

#include "platform/Simd.h"

#include <cstring>

namespace {

// Walks well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF, no sequence cut short) and hands each character to the sink as
// one or two UTF-16 units; false at the first byte that breaks the form.
// Checking and decoding are one walk, so a file is read once whichever it is.
template <typename TSink> bool WalkUtf8(QByteArrayView bytes, TSink& sink)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    while (p < end) {
        // Hand histories are nearly all ASCII: runs of it go in blocks.
        p = sink.Ascii(p, end);
        if (p == end)
            break;
        const unsigned char lead = *p;
        if (lead < 0x80) {
            sink.Unit(lead);
            ++p;
            continue;
        }
        int follow = 0;
        char32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            follow = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            follow = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            follow = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (end - p <= follow)
            return false;
        for (int k = 1; k <= follow; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (p[k] & 0x3F);
        }
        if (follow == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)))
            return false;
        if (follow == 3 && (code < 0x10000 || code > 0x10FFFF))
            return false;
        if (code < 0x10000) {
            sink.Unit(static_cast<char16_t>(code));
        } else {
            sink.Unit(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            sink.Unit(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        }
        p += follow + 1;
    }
    return true;
}

// Only checks.
struct TCheckSink
{
    static const unsigned char* Ascii(const unsigned char* p, const unsigned char* end)
    {
        while (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, sizeof word);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        return p;
    }
    static void Unit(char16_t) {}
};

// Writes the UTF-16 text; a text never has more units than bytes.
struct TDecodeSink
{
    char16_t* Out;

    const unsigned char* Ascii(const unsigned char* p, const unsigned char* end)
    {
        return Simd::WidenAscii(p, end, Out);
    }
    void Unit(char16_t unit) { *Out++ = unit; }
};

} // namespace

qsizetype IncompleteUtf8Tail(QByteArrayView bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype lead = size - 1;
    while (lead >= 0 && size - lead <= 3 && (data[lead] & 0xC0) == 0x80)
        --lead;
    if (lead < 0 || size - lead > 3)
        return 0;
    const unsigned char first = data[lead];
    int follow = 0;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (first >= 0xC2 && first <= 0xDF) {
        follow = 1;
    } else if (first >= 0xE0 && first <= 0xEF) {
        follow = 2;
        low = first == 0xE0 ? 0xA0 : 0x80;
        high = first == 0xED ? 0x9F : 0xBF;
    } else if (first >= 0xF0 && first <= 0xF4) {
        follow = 3;
        low = first == 0xF0 ? 0x90 : 0x80;
        high = first == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    const qsizetype present = size - lead - 1;
    if (present >= follow)
        return 0; // complete: not a cut
    if (present >= 1 && (data[lead + 1] < low || data[lead + 1] > high))
        return 0;
    return present + 1;
}

bool SystemAnsiIsUtf8(QByteArrayView bytes)
{
    TCheckSink sink;
    return WalkUtf8(bytes, sink);
}

std::optional<QString> DecodeValidUtf8(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    TDecodeSink sink{begin};
    if (!WalkUtf8(bytes, sink))
        return std::nullopt;
    text.truncate(sink.Out - begin);
    return text;
}

QString DecodeSystemAnsi(QByteArrayView bytes, bool atFileEnd)
{
    if (std::optional<QString> text = DecodeValidUtf8(bytes))
        return std::move(*text);
    if (const qsizetype cut = atFileEnd ? IncompleteUtf8Tail(bytes) : 0)
        if (std::optional<QString> text = DecodeValidUtf8(bytes.chopped(cut)))
            return std::move(*text);
    return DecodeWindows1252(bytes);
}

QString DecodeWindows1252(QByteArrayView bytes)
{
    // 0x80..0x9F by the code page's table (the five unassigned bytes keep
    // their own code points, as the system's converter maps them); every
    // other byte is its Latin-1 character. A table this small beats a call
    // into a general converter, which costs several times as much per byte.
    static constexpr char16_t High[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = byte >= 0x80 && byte < 0xA0 ? High[byte - 0x80] : char16_t(byte);
    }
    return text;
}
