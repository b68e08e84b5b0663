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

// Where a unit first occurs in the line, or -1. Qt's own search takes a
// library call and a general string search even for one unit.
inline qsizetype FindUnit(QStringView line, char16_t unit)
{
    const char16_t* text = line.utf16();
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (text[i] == unit)
            return i;
    }
    return -1;
}

// Where an ASCII text first occurs in the line, or -1.
inline qsizetype FindText(QStringView line, QLatin1String text)
{
    if (text.isEmpty())
        return 0;
    const char16_t first = static_cast<unsigned char>(text.front().toLatin1());
    for (qsizetype at = FindUnit(line, first); at >= 0;) {
        if (BeginsWith(line.sliced(at), text))
            return at;
        const qsizetype next = FindUnit(line.sliced(at + 1), first);
        at = next < 0 ? -1 : at + 1 + next;
    }
    return -1;
}
