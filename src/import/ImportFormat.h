#pragma once

#include <QStringView>

// The fixed number format of hand histories: "." as decimal separator and no
// digit grouping, whatever the user's regional settings. Both readings give 0
// for any text that does not read as a whole.

// Optional leading blanks, an optional sign, then decimal digits or hexadecimal
// digits after "$", "x", "X", "0x" or "0X"; nothing after the digits. The value
// must fit a signed 32-bit integer.
qint32 ReadWholeNumber(QStringView text);

// Optional leading blanks, an optional sign, digits with an optional "." and
// fraction, an optional exponent, optional trailing blanks. A value beyond the
// range of a double reads as 0.
double ReadAmount(QStringView text);
