#include "import/StringList2.h"

#include "platform/Error.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QFileInfo>
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

} // namespace

namespace {

// Cuts at CR, LF or CR LF; a break at the very end makes no empty line. Unit
// is char for UTF-8 bytes (a break byte never occurs inside a multi-byte
// sequence) and QChar for decoded text; the text ends at a NUL.
char16_t UnitOf(char c)
{
    return static_cast<unsigned char>(c);
}

char16_t UnitOf(QChar c)
{
    return c.unicode();
}

// QString::fromUtf8 drops a U+FEFF at the start; inside the text it is a
// character like any other, and a line that begins with it is no header line.
QString Utf8Line(const char* line, qsizetype size)
{
    qsizetype marks = 0;
    while (size - 3 * marks >= 3 && std::memcmp(line + 3 * marks, "\xEF\xBB\xBF", 3) == 0)
        ++marks;
    if (marks == 0)
        return QString::fromUtf8(line, size);
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(line + 3 * marks, size - 3 * marks);
}

template <typename TUnit, typename TMake>
void CutLines(const TUnit* data, qsizetype size, QStringList& lines, TMake make)
{
    qsizetype start = 0;
    qsizetype i = 0;
    for (; i < size; ++i) {
        const auto c = UnitOf(data[i]);
        if (c > u'\r')
            continue;
        if (c == u'\n' || c == u'\r') {
            lines.append(make(data + start, i - start));
            if (c == u'\r' && i + 1 < size && UnitOf(data[i + 1]) == u'\n')
                ++i;
            start = i + 1;
        } else if (c == 0) {
            break;
        }
    }
    if (i > start)
        lines.append(make(data + start, i - start));
}

} // namespace

void TStringList2::LoadFromBytes(QByteArrayView bytes)
{
    clear();
    const TMark mark = MarkOf(bytes);
    if (mark == TMark::None || mark == TMark::Utf8) {
        // Well-formed UTF-8 is cut as bytes and each line decoded on its own:
        // the same lines without a copy of the whole text.
        const QByteArrayView text = UpToNul(mark == TMark::Utf8 ? bytes.sliced(3) : bytes);
        if (mark == TMark::Utf8 ? IsValidUtf8(text) : SystemAnsiIsUtf8(text)) {
            CutLines(text.data(), text.size(), *this, Utf8Line);
            return;
        }
    }
    const QString text = Decode(bytes);
    CutLines(text.constData(), text.size(), *this,
             [](const QChar* line, qsizetype size) { return QString(line, size); });
}

void TStringList2::LoadFromFile(const QString& path)
{
    // Read-only: a file the server still holds open for writing can be read.
    QFile file(path);
    if (QFileInfo(path).isDir())
        throw TError(QStringLiteral("Cannot read %1: it is a folder").arg(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw TError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    // Read into one buffer sized by the file; a file that grows meanwhile is
    // read on to its end.
    QByteArray bytes(qMax<qint64>(file.size(), 0) + 1, Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        const qint64 count = file.read(bytes.data() + filled, bytes.size() - filled);
        if (count < 0)
            throw TError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
        if (count == 0)
            break;
        filled += count;
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
    }
    bytes.truncate(filled);
    LoadFromBytes(bytes);
}
