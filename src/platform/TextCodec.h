#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

// Text without a byte-order mark is taken in the system's 8-bit code page. On
// this platform that is UTF-8 when the bytes are valid UTF-8 and Windows-1252
// otherwise, so a name with an accented letter written by a Windows server
// never turns into replacement characters. This is the one place of that choice.
QString DecodeSystemAnsi(QByteArrayView bytes);

// Windows-1252, every byte one character.
QString DecodeWindows1252(QByteArrayView bytes);

// Whether DecodeSystemAnsi reads these bytes as UTF-8: well-formed UTF-8, with
// no overlong forms, no surrogates, nothing past U+10FFFF, no sequence cut short.
bool SystemAnsiIsUtf8(QByteArrayView bytes);

// The text of bytes that SystemAnsiIsUtf8 accepts, decoded as Qt's UTF-8
// decoder decodes them (a mark at the start stays a character); nothing for
// any other bytes.
std::optional<QString> DecodeValidUtf8(QByteArrayView bytes);
