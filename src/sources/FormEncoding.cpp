#include "sources/FormEncoding.h"

namespace {

bool StandsAsIs(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'*' ||
           c == u'-' || c == u'.' || c == u'_';
}

void AppendPercentBytes(QByteArray& out, char32_t code)
{
    static const char hex[] = "0123456789ABCDEF";
    char bytes[4];
    int count = 0;
    if (code < 0x80) {
        bytes[count++] = char(code);
    } else if (code < 0x800) {
        bytes[count++] = char(0xC0 | (code >> 6));
        bytes[count++] = char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes[count++] = char(0xE0 | (code >> 12));
        bytes[count++] = char(0x80 | ((code >> 6) & 0x3F));
        bytes[count++] = char(0x80 | (code & 0x3F));
    } else {
        bytes[count++] = char(0xF0 | (code >> 18));
        bytes[count++] = char(0x80 | ((code >> 12) & 0x3F));
        bytes[count++] = char(0x80 | ((code >> 6) & 0x3F));
        bytes[count++] = char(0x80 | (code & 0x3F));
    }
    for (int i = 0; i < count; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += '%';
        out += hex[b >> 4];
        out += hex[b & 0x0F];
    }
}

} // namespace

QByteArray FormEncodeText(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 3);
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text.at(i).unicode();
        if (StandsAsIs(c)) {
            out += char(c);
        } else if (c == u' ') {
            out += '+';
        } else if (QChar::isHighSurrogate(c) && i + 1 < size &&
                   QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            AppendPercentBytes(out, QChar::surrogateToUcs4(c, text.at(i + 1).unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            out += "&#" + QByteArray::number(int(c)) + ';';
        } else {
            AppendPercentBytes(out, c);
        }
    }
    return out;
}

QByteArray FormEncode(const QList<QPair<QString, QString>>& fields)
{
    QByteArray body;
    for (const auto& field : fields) {
        if (!body.isEmpty())
            body += '&';
        body += FormEncodeText(field.first);
        body += '=';
        body += FormEncodeText(field.second);
    }
    return body;
}
