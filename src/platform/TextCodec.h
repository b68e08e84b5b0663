#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

// Text without a byte-order mark is taken in the system's 8-bit code page. On
// this platform that is UTF-8 when the bytes are valid UTF-8 and Windows-1252
// otherwise, so a name with an accented letter written by a Windows server
// never turns into replacement characters. This is the one place of that choice.
// atFileEnd: the bytes end where their file does, so UTF-8 cut short there (a
// server still writing it) is still UTF-8, read without the cut character.
QString DecodeSystemAnsi(QByteArrayView bytes, bool atFileEnd = false);

// Windows-1252, every byte one character.
QString DecodeWindows1252(QByteArrayView bytes);

// Whether DecodeSystemAnsi reads these bytes as UTF-8: well-formed UTF-8, with
// no overlong forms, no surrogates, nothing past U+10FFFF, no sequence cut short.
bool SystemAnsiIsUtf8(QByteArrayView bytes);

// The text of bytes that SystemAnsiIsUtf8 accepts, decoded as Qt's UTF-8
// decoder decodes them (a mark at the start stays a character); nothing for
// any other bytes.
std::optional<QString> DecodeValidUtf8(QByteArrayView bytes);

// The length (1 to 3) of a UTF-8 sequence cut short at the very end of the
// bytes (a lead byte and fewer continuation bytes than it needs, each one
// possible there), or 0: what a writer still at work leaves at a file's end.
qsizetype IncompleteUtf8Tail(QByteArrayView bytes);
