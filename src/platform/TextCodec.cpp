#include "platform/TextCodec.h"

#include <QStringDecoder>

QString DecodeSystemAnsi(QByteArrayView bytes)
{
    // A leading EF BB BF stays a character here: the caller has already
    // decided that the bytes carry no mark. Stateless, so that a sequence cut
    // at the end counts as an error instead of being held back (and lost).
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder ansi("windows-1252", QStringDecoder::Flag::ConvertInitialBom);
    if (ansi.isValid())
        return ansi.decode(bytes);
    // Without the converter tables Latin-1 is the closest form; it differs
    // from Windows-1252 only in 0x80..0x9F.
    return QString::fromLatin1(bytes);
}
