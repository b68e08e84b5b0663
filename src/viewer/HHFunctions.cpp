#include "viewer/HHFunctions.h"

#include <algorithm>
#include <iterator>

namespace {

inline char16_t LowerAsciiChar(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

} // namespace

int CountHands(const QStringList& lines)
{
    const QLatin1StringView marker("Hand #");
    return int(std::count_if(lines.cbegin(), lines.cend(), [&](const QString& line) {
        return line.startsWith(marker, Qt::CaseSensitive);
    }));
}

QString LowerAscii(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        c = QChar(LowerAsciiChar(c.unicode()));
    return result;
}

bool ContainsLowered(QStringView line, QStringView loweredNeedle)
{
    const qsizetype needleLength = loweredNeedle.size();
    if (needleLength == 0)
        return true;
    if (line.size() < needleLength)
        return false;
    const char16_t* hay = line.utf16();
    const char16_t* needle = loweredNeedle.utf16();
    const char16_t first = needle[0];
    const qsizetype last = line.size() - needleLength;
    for (qsizetype i = 0; i <= last; ++i) {
        if (LowerAsciiChar(hay[i]) != first)
            continue;
        qsizetype k = 1;
        while (k < needleLength && LowerAsciiChar(hay[i + k]) == needle[k])
            ++k;
        if (k == needleLength)
            return true;
    }
    return false;
}

TFindResult FindNext(const QStringList& lines, int selected, const QString& findText)
{
    const QString needle = LowerAscii(findText);
    if (needle.isEmpty())
        return {};
    const int count = int(lines.size());
    if (count < 2)
        return {};
    const int s = (selected >= 0 && selected < count) ? selected : -1;
    int i = s;
    for (;;) {
        if (i + 1 == count) {
            i = 0;
            if (s < 0)
                return {-1, true};
        } else {
            ++i;
        }
        if (ContainsLowered(lines.at(i), needle))
            return {i, false};
        if (i == s)
            return {-1, true};
    }
}

namespace {

qsizetype CutAt(const QString& line)
{
    qsizetype cut = MaxShownLineLength;
    if (QChar::isHighSurrogate(line.at(cut - 1).unicode()) && QChar::isLowSurrogate(line.at(cut).unicode()))
        --cut;
    return cut;
}

} // namespace

QString ShownLine(const QString& line)
{
    if (line.size() <= MaxShownLineLength)
        return line;
    QString shown;
    shown.reserve(ShownLineLength(line));
    shown.append(QStringView(line).left(CutAt(line)));
    shown.append(QStringView(ShownLineMark));
    return shown;
}

qsizetype ShownLineLength(const QString& line)
{
    if (line.size() <= MaxShownLineLength)
        return line.size();
    return CutAt(line) + qsizetype(std::size(ShownLineMark) - 1);
}

int CentredTopLine(int match, int listHeight, int lineHeight)
{
    if (lineHeight <= 0)
        return std::max(0, match);
    return std::max(0, match - ((listHeight / 2) / lineHeight));
}
