#pragma once

#include <QByteArray>
#include <QString>

// The code set of the user's locale for text written to files: what the
// locale's character type names ("UTF-8", "ISO-8859-1", "ANSI_X3.4-1968"...).
// The application object takes the locale from the environment at start.
QByteArray LocaleCodeSet();

// Text in the given code set, without a byte-order mark. A character the code
// set cannot hold becomes "?"; an unknown code set, and ASCII (the C and POSIX
// locales), give UTF-8.
QByteArray EncodeCodeSet(const QString& text, const QByteArray& codeSet);

// Text in the code set of the user's locale (UTF-8 on a UTF-8 locale).
QByteArray EncodeLocaleCodeSet(const QString& text);
