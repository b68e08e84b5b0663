#include "platform/LocaleEncoding.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <langinfo.h>

namespace {
// The C and POSIX locales (cron, services, a bare shell) name plain ASCII: no
// code set chosen for text at all. Those get UTF-8, as Qt's own 8-bit text
// does, rather than a "?" for every letter beyond it.
bool WritesUtf8(const QByteArray& codeSet)
{
    const QByteArray name = codeSet.toUpper();
    return name == "UTF-8" || name == "UTF8" || name == "ANSI_X3.4-1968" || name == "ASCII" ||
           name == "US-ASCII" || name == "646" || name == "ISO646-US";
}

// Bytes of the UTF-8 sequence that starts with lead (1 for a stray byte).
int SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}
} // namespace

QByteArray LocaleCodeSet()
{
    const char* name = nl_langinfo(CODESET);
    return name && *name ? QByteArray(name) : QByteArray("UTF-8");
}

QByteArray EncodeCodeSet(const QString& text, const QByteArray& codeSet)
{
    // Qt writes an unpaired surrogate as "?" already.
    QByteArray utf8 = text.toUtf8();
    if (WritesUtf8(codeSet) || utf8.isEmpty())
        return utf8;
    iconv_t converter = iconv_open(codeSet.constData(), "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return utf8;

    QByteArray out;
    out.resize(utf8.size() + 16);
    char* in = utf8.data();
    size_t inLeft = static_cast<size_t>(utf8.size());
    size_t written = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        size_t outLeft = static_cast<size_t>(out.size()) - written;
        const size_t rc = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        written = static_cast<size_t>(outPtr - out.data());
        if (rc != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else {
            // A character the code set lacks (or a cut sequence): one "?" for it.
            if (written >= static_cast<size_t>(out.size()))
                out.resize(out.size() * 2);
            out[static_cast<qsizetype>(written++)] = '?';
            const size_t skip = std::min<size_t>(SequenceLength(static_cast<unsigned char>(*in)), inLeft);
            in += skip;
            inLeft -= skip;
        }
    }
    // Shift sequences of stateful code sets end here.
    for (;;) {
        char* outPtr = out.data() + written;
        size_t outLeft = static_cast<size_t>(out.size()) - written;
        const size_t rc = iconv(converter, nullptr, nullptr, &outPtr, &outLeft);
        written = static_cast<size_t>(outPtr - out.data());
        if (rc != static_cast<size_t>(-1) || errno != E2BIG)
            break;
        out.resize(out.size() * 2);
    }
    iconv_close(converter);
    out.truncate(static_cast<qsizetype>(written));
    return out;
}

QByteArray EncodeLocaleCodeSet(const QString& text)
{
    return EncodeCodeSet(text, LocaleCodeSet());
}
