#include "sources/HttpReply.h"

#include "platform/SharedLines.h"

#include <QStringDecoder>

namespace {

QByteArray TrimSpaces(QByteArray text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && (text.at(first) == ' ' || text.at(first) == '\t'))
        ++first;
    while (last > first && (text.at(last - 1) == ' ' || text.at(last - 1) == '\t'))
        --last;
    return text.mid(first, last - first);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsTokenChar(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b > 32 && b < 127 && !QByteArrayView("()<>@,;:\\\"/[]?={}").contains(c);
}

} // namespace

THttpReplyReader::THttpReplyReader(qint64 maxBytes) : FMaxBytes(maxBytes) {}

bool THttpReplyReader::Fail()
{
    FState = TState::Failed;
    FBody.clear();
    return false;
}

bool THttpReplyReader::Feed(QByteArrayView data)
{
    if (FState == TState::Failed)
        return false;
    if (FState == TState::Complete)
        return true;
    qsizetype pos = 0;
    while (pos < data.size() && FState != TState::Complete && FState != TState::Failed) {
        switch (FState) {
        case TState::LengthBody:
        case TState::ChunkData: {
            const qsizetype take = qsizetype(qMin<qint64>(FRemaining, data.size() - pos));
            FBody.append(data.sliced(pos, take));
            pos += take;
            FRemaining -= take;
            if (FRemaining == 0)
                FState = FState == TState::LengthBody ? TState::Complete : TState::ChunkEnd;
            break;
        }
        case TState::UntilClose:
            if (FBody.size() + (data.size() - pos) > FMaxBytes)
                return Fail();
            FBody.append(data.sliced(pos));
            pos = data.size();
            break;
        default: {
            const qsizetype end = data.indexOf('\n', pos);
            // The head, the chunks' sizes and the trailers have the same cap.
            FHeadBytes += (end < 0 ? data.size() : end + 1) - pos;
            if (FHeadBytes > FMaxBytes)
                return Fail();
            if (end < 0) {
                FLine.append(data.sliced(pos));
                pos = data.size();
                break;
            }
            FLine.append(data.sliced(pos, end - pos));
            pos = end + 1;
            QByteArray line = std::move(FLine);
            FLine = QByteArray();
            if (line.endsWith('\r'))
                line.chop(1);
            if (!TakeLine(std::move(line)))
                return Fail();
            break;
        }
        }
    }
    return FState != TState::Failed;
}

bool THttpReplyReader::Close()
{
    if (FState == TState::UntilClose)
        FState = TState::Complete;
    if (FState != TState::Complete)
        return Fail();
    return true;
}

QList<QByteArray> THttpReplyReader::HeaderValues(QByteArrayView name) const
{
    QList<QByteArray> values;
    for (const auto& header : FHeaders) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            values.append(header.second);
    }
    return values;
}

bool THttpReplyReader::TakeLine(QByteArray line)
{
    switch (FState) {
    case TState::StatusLine:
        return TakeStatusLine(line);
    case TState::Headers:
        return TakeHeaderLine(line);
    case TState::ChunkSize:
        return TakeChunkSize(line);
    case TState::ChunkEnd:
        FState = TState::ChunkSize;
        return line.isEmpty();
    case TState::Trailers:
        if (line.isEmpty())
            FState = TState::Complete;
        return true;
    default:
        return false;
    }
}

bool THttpReplyReader::TakeStatusLine(const QByteArray& line)
{
    // A stray empty line before the status line is tolerated, as most clients do.
    if (line.isEmpty())
        return true;
    // "HTTP/" digit "." digit blank three digits, then a blank and a reason or nothing.
    if (line.size() < 12 || !line.startsWith("HTTP/") || !IsDigit(line[5]) || line[6] != '.' ||
        !IsDigit(line[7]) || line[8] != ' ' || !IsDigit(line[9]) || !IsDigit(line[10]) || !IsDigit(line[11]))
        return false;
    if (line.size() > 12 && line[12] != ' ')
        return false;
    FStatus = line.mid(9, 3).toInt();
    if (FStatus < 100)
        return false;
    FHeaders.clear();
    FState = TState::Headers;
    return true;
}

bool THttpReplyReader::TakeHeaderLine(const QByteArray& line)
{
    if (line.isEmpty())
        return EndOfHeaders();
    if (line[0] == ' ' || line[0] == '\t') {
        // An old-style continuation of the previous header's value.
        if (FHeaders.isEmpty())
            return false;
        FHeaders.last().second += ' ' + TrimSpaces(line);
        return true;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return false;
    const QByteArray name = line.left(colon);
    for (const char c : name) {
        if (!IsTokenChar(c))
            return false;
    }
    FHeaders.append({name, TrimSpaces(line.mid(colon + 1))});
    return true;
}

bool THttpReplyReader::EndOfHeaders()
{
    if (FStatus < 200) {
        // We never ask to switch protocols; any other 1xx is followed by the real reply.
        if (FStatus == 101)
            return false;
        FState = TState::StatusLine;
        return true;
    }
    if (FStatus == 204 || FStatus == 304) {
        FState = TState::Complete;
        return true;
    }
    const QList<QByteArray> codings = HeaderValues("Transfer-Encoding");
    if (!codings.isEmpty()) {
        const QList<QByteArray> last = codings.last().split(',');
        FState = TrimSpaces(last.last()).compare("chunked", Qt::CaseInsensitive) == 0 ? TState::ChunkSize
                                                                                      : TState::UntilClose;
        return true;
    }
    const QList<QByteArray> lengths = HeaderValues("Content-Length");
    if (lengths.isEmpty()) {
        FState = TState::UntilClose;
        return true;
    }
    // Repeated lengths are accepted only when they all agree.
    qint64 length = -1;
    for (const QByteArray& header : lengths) {
        for (const QByteArray& part : header.split(',')) {
            const QByteArray digits = TrimSpaces(part);
            if (digits.isEmpty() || digits.size() > 18)
                return false;
            for (const char c : digits) {
                if (!IsDigit(c))
                    return false;
            }
            const qint64 value = digits.toLongLong();
            if (length >= 0 && value != length)
                return false;
            length = value;
        }
    }
    if (length > FMaxBytes)
        return false;
    FRemaining = length;
    // Announced, the body is held without growing (growth copies it).
    FBody.reserve(length);
    FState = length == 0 ? TState::Complete : TState::LengthBody;
    return true;
}

bool THttpReplyReader::TakeChunkSize(const QByteArray& line)
{
    const qsizetype semicolon = line.indexOf(';');
    const QByteArray digits = TrimSpaces(semicolon < 0 ? line : line.left(semicolon));
    if (digits.isEmpty() || digits.size() > 15)
        return false;
    for (const char c : digits) {
        if (!IsDigit(c) && !(c >= 'a' && c <= 'f') && !(c >= 'A' && c <= 'F'))
            return false;
    }
    const qint64 size = digits.toLongLong(nullptr, 16);
    if (FBody.size() + size > FMaxBytes)
        return false;
    FRemaining = size;
    FState = size == 0 ? TState::Trailers : TState::ChunkData;
    return true;
}

namespace {

struct TMediaType
{
    QByteArray Type, Subtype, Charset;
};

TMediaType ReadContentType(const QByteArray& contentType)
{
    TMediaType media;
    const QList<QByteArray> parts = contentType.split(';');
    const QByteArray mime = TrimSpaces(parts.first()).toLower();
    const qsizetype slash = mime.indexOf('/');
    media.Type = slash < 0 ? mime : TrimSpaces(mime.left(slash));
    media.Subtype = slash < 0 ? QByteArray() : TrimSpaces(mime.mid(slash + 1));
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype equals = parts[i].indexOf('=');
        if (equals < 0 || TrimSpaces(parts[i].left(equals)).toLower() != "charset")
            continue;
        QByteArray value = TrimSpaces(parts[i].mid(equals + 1));
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        media.Charset = value.toLower();
        break;
    }
    return media;
}

bool IsXmlType(const TMediaType& media)
{
    return (media.Type == "text" &&
            (media.Subtype == "xml" || media.Subtype == "xml-external-parsed-entity")) ||
           media.Subtype.endsWith("+xml");
}

QString DecodeAscii(const QByteArray& body)
{
    QString text(body.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : body) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = b < 0x80 ? QChar(b) : QChar(QChar::ReplacementCharacter);
    }
    return text;
}

} // namespace

QString DecodeReplyText(const QByteArray& body, const QByteArray& contentType)
{
    const TMediaType media = ReadContentType(contentType);
    const QByteArray& charset = media.Charset;
    if (charset.isEmpty())
        return IsXmlType(media) ? DecodeAscii(body) : QString::fromLatin1(body);
    if (charset == "us-ascii" || charset == "ascii")
        return DecodeAscii(body);
    if (charset == "iso-8859-1" || charset == "latin1" || charset == "l1" || charset == "iso_8859-1")
        return QString::fromLatin1(body);
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return QString::fromLatin1(body);
    return decoder.decode(body);
}

QStringList SplitReplyLines(QString text)
{
    const qsizetype size = text.size();
    if (size == 0)
        return {};
    // A reply's lines run to some twenty-odd characters, as a file's do.
    TSharedLines lines(text, size / 22 + 1);
    const char16_t* const data = lines.Data();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i];
        if (c != u'\r' && c != u'\n')
            continue;
        const bool crlf = c == u'\r' && i + 1 < size && data[i + 1] == u'\n';
        lines.Add(start, i);
        if (crlf)
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.Add(start, size);
    return lines.Take();
}
