#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <cstring>

namespace {

bool IsValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    while (p < end) {
        // Hand histories are nearly all ASCII: skip it eight bytes at a time.
        while (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, sizeof word);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p == end)
            break;
        const unsigned char lead = *p;
        if (lead < 0x80) {
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
        p += follow + 1;
    }
    return true;
}

} // namespace

bool SystemAnsiIsUtf8(QByteArrayView bytes)
{
    return IsValidUtf8(bytes);
}

QString DecodeSystemAnsi(QByteArrayView bytes)
{
    // A leading EF BB BF stays a character here: the caller has already
    // decided that the bytes carry no mark.
    // One pass for the common case: the decoder flags exactly the bytes that
    // SystemAnsiIsUtf8 rejects (the import fuzz target holds the two to that).
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text = QString();
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
