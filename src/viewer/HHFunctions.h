#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The number of lines that begin with "Hand #", letter case as written.
int CountHands(const QStringList& lines);

// The text with the 26 capitals A to Z turned into small letters; every other
// character, accented capitals included, stays as it is.
QString LowerAscii(const QString& text);

// Whether the already lowered needle occurs in the line once the line's A to
// Z are lowered too. Lowers nothing into memory, so a search over a large
// file allocates nothing.
bool ContainsLowered(QStringView line, QStringView loweredNeedle);

// The outcome of one "Next".
struct TFindResult
{
    int Line = -1;     // the matched line, counted from 0; -1 when none
    bool Beep = false; // a search ran and found nothing
    bool operator==(const TFindResult&) const = default;
};

// Searches from the line after the selected one (selected: -1 for none) to
// the end, then from the top, testing the selected line itself last. An
// empty find text or fewer than two lines does nothing at all.
TFindResult FindNext(const QStringList& lines, int selected, const QString& findText);

// Lines longer than this are shown cut, with ShownLineMark after the cut;
// drawing a line of millions of characters would take minutes and gigabytes.
// The find rule still reads the whole line.
constexpr qsizetype MaxShownLineLength = 10'000;
inline constexpr char16_t ShownLineMark[] = u" \u2026";

// The line as the list shows it: whole up to MaxShownLineLength, else cut
// there (never between the two halves of a character) and marked.
QString ShownLine(const QString& line);
// The length of ShownLine(line), without making it.
qsizetype ShownLineLength(const QString& line);

// The line to put at the top of a list H pixels high with lines h pixels
// high, so that line `match` stands near its middle.
int CentredTopLine(int match, int listHeight, int lineHeight);
