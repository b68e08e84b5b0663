#pragma once

#include <QLatin1String>
#include <QStringView>

// The parser asks every line whether it begins with one of a few ASCII texts,
// often several times; an inline test keeps that out of the library call.
inline bool BeginsWith(QStringView line, QLatin1String prefix)
{
    const qsizetype size = prefix.size();
    if (line.size() < size)
        return false;
    const char16_t* text = line.utf16();
    const char* start = prefix.data();
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] != static_cast<unsigned char>(start[i]))
            return false;
    }
    return true;
}
