#include "import/StringList2.h"

#include "platform/RegularFile.h"
#include "platform/SharedLines.h"
#include "platform/Simd.h"
#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <cstring>

namespace {

enum class TMark
{
    None,
    Utf8,
    Utf16LE,
    Utf16BE
};

TMark MarkOf(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TMark::Utf8;
    if (bytes.startsWith("\xFF\xFE"))
        return TMark::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return TMark::Utf16BE;
    return TMark::None;
}

// In an 8-bit text a NUL byte is the NUL character; cutting before decoding
// keeps what follows it from deciding the code page.
QByteArrayView UpToNul(QByteArrayView bytes)
{
    const void* nul = std::memchr(bytes.data(), 0, static_cast<size_t>(bytes.size()));
    return nul ? bytes.first(static_cast<const char*>(nul) - bytes.data()) : bytes;
}

QString DecodeUnicode(QStringDecoder::Encoding encoding, QByteArrayView bytes)
{
    // A second mark after the first is text, not a mark. Stateless: a character
    // cut at the end of the file becomes U+FFFD rather than vanishing.
    QStringDecoder decoder(encoding,
                           QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

// A server still writing a file may have stopped inside a character. The
// text is read as it will read once the file is complete, less the cut
// character: the next import reads it whole.
QByteArrayView WithoutCutUtf8(QByteArrayView text, QByteArrayView bytes)
{
    const bool endsAtFileEnd = text.data() + text.size() == bytes.data() + bytes.size();
    return endsAtFileEnd ? text.chopped(IncompleteUtf8Tail(text)) : text;
}

QByteArrayView WithoutCutUtf16(QByteArrayView bytes, bool bigEndian)
{
    bytes.chop(bytes.size() % 2); // half a code unit
    if (bytes.size() >= 2) {
        const auto* last = reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size() - 2);
        const unsigned unit = bigEndian ? (last[0] << 8 | last[1]) : (last[1] << 8 | last[0]);
        if (unit >= 0xD800 && unit <= 0xDBFF) // the first half of a pair
            bytes.chop(2);
    }
    return bytes;
}

QString Decode(QByteArrayView bytes)
{
    switch (MarkOf(bytes)) {
    case TMark::Utf8: {
        // Well-formed text takes the quicker decoder; the general one decides
        // what a broken sequence becomes.
        QByteArrayView text = UpToNul(bytes.sliced(3));
        if (std::optional<QString> decoded = DecodeValidUtf8(text))
            return std::move(*decoded);
        text = WithoutCutUtf8(text, bytes);
        if (std::optional<QString> decoded = DecodeValidUtf8(text))
            return std::move(*decoded);
        return DecodeUnicode(QStringDecoder::Utf8, text);
    }
    case TMark::Utf16LE:
        return DecodeUnicode(QStringDecoder::Utf16LE, WithoutCutUtf16(bytes.sliced(2), false));
    case TMark::Utf16BE:
        return DecodeUnicode(QStringDecoder::Utf16BE, WithoutCutUtf16(bytes.sliced(2), true));
    case TMark::None:
        break;
    }
    const QByteArrayView text = UpToNul(bytes);
    return DecodeSystemAnsi(text, text.size() == bytes.size());
}

} // namespace

void TStringList2::LoadFromBytes(QByteArrayView bytes)
{
    clear();
    CutIntoLines(Decode(bytes));
}

void TStringList2::LoadFromFile(const QString& path, qint64 maxBytes)
{
    clear();
    QString text;
    {
        // The file's bytes go before the lines are made: text, bytes and
        // lines are never held all at once.
        const QByteArray bytes = ReadRegularFile(path, maxBytes, &FModified);
        FBytesRead = bytes.size();
        text = Decode(bytes);
    }
    CutIntoLines(std::move(text));
}

void TStringList2::CutIntoLines(QString text)
{
    const qsizetype size = text.size();
    if (size == 0)
        return;
    // Hand-history lines run to some twenty-odd characters: room for about
    // that many up front.
    TSharedLines lines(text, size / 22 + 1);
    char16_t* const data = lines.Data();
    // Cut at CR, LF or CR LF; a break at the very end makes no empty line; the
    // text ends at a NUL.
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < size) {
        i = Simd::FindControlBreak(data, i, size);
        if (i == size)
            break;
        const char16_t c = data[i];
        if (c == u'\n' || c == u'\r') {
            const bool crlf = c == u'\r' && i + 1 < size && data[i + 1] == u'\n';
            lines.Add(start, i);
            if (crlf)
                ++i;
            start = i + 1;
        } else if (c == 0) {
            break;
        }
        ++i;
    }
    if (i > start)
        lines.Add(start, i);
    QStringList::operator=(lines.Take());
}
