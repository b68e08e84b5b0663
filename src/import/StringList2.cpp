#include "import/StringList2.h"

#include "platform/RegularFile.h"
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

QString Decode(QByteArrayView bytes)
{
    switch (MarkOf(bytes)) {
    case TMark::Utf8:
        return DecodeUnicode(QStringDecoder::Utf8, UpToNul(bytes.sliced(3)));
    case TMark::Utf16LE:
        return DecodeUnicode(QStringDecoder::Utf16LE, bytes.sliced(2));
    case TMark::Utf16BE:
        return DecodeUnicode(QStringDecoder::Utf16BE, bytes.sliced(2));
    case TMark::None:
        break;
    }
    return DecodeSystemAnsi(UpToNul(bytes));
}

// The first position from `at` on that holds a unit of U+0000..U+000D (every
// break and the NUL are among them), or `size`. Lines run to some seventy
// characters: four units are tested at a time.
qsizetype SkipPlainUnits(const char16_t* data, qsizetype at, qsizetype size)
{
    constexpr quint64 Ones = 0x0001000100010001ULL;
    constexpr quint64 HighBits = 0x8000800080008000ULL;
    while (size - at >= 4) {
        quint64 word;
        std::memcpy(&word, data + at, sizeof word);
        // Nonzero when some unit is below 14; a unit above such a one may
        // show falsely, which the unit-wise test below sorts out.
        if (((word - 14 * Ones) & ~word & HighBits) != 0)
            break;
        at += 4;
    }
    for (; at < size; ++at) {
        if (data[at] <= u'\r')
            return at;
    }
    return size;
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
        const QByteArray bytes = ReadRegularFile(path, maxBytes);
        text = Decode(bytes);
    }
    CutIntoLines(std::move(text));
}

void TStringList2::CutIntoLines(QString text)
{
    const qsizetype size = text.size();
    if (size == 0)
        return;
    // Every line shares the one decoded buffer: no allocation per line, and
    // each line is still a QString of its own (copy-on-write, as any other).
    char16_t* const data = reinterpret_cast<char16_t*>(text.data());
    QString::DataPointer& whole = text.data_ptr();
    const auto addLine = [&](qsizetype start, qsizetype end) {
        // The break itself becomes the line's terminating NUL; the last line
        // ends where the string does, already terminated.
        if (end < size)
            data[end] = u'\0';
        // The buffer is this thread's alone until the list is handed out, so
        // the count needs no locked increment (one per line adds up).
        QBasicAtomicInt& count = whole.d_ptr()->ref_;
        count.storeRelaxed(count.loadRelaxed() + 1);
        append(QString(QString::DataPointer(whole.d_ptr(), data + start, end - start)));
    };
    // Cut at CR, LF or CR LF; a break at the very end makes no empty line; the
    // text ends at a NUL.
    // Hand-history lines run to some twenty-odd characters: room for about
    // that many lines up front, so the list is not regrown line by line.
    reserve(size / 22 + 1);
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < size) {
        i = SkipPlainUnits(data, i, size);
        if (i == size)
            break;
        const char16_t c = data[i];
        if (c == u'\n' || c == u'\r') {
            const bool crlf = c == u'\r' && i + 1 < size && data[i + 1] == u'\n';
            addLine(start, i);
            if (crlf)
                ++i;
            start = i + 1;
        } else if (c == 0) {
            break;
        }
        ++i;
    }
    if (i > start)
        addLine(start, i);
}
