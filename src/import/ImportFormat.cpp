#include "import/ImportFormat.h"

#include <QVarLengthArray>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int HexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// A read position over the text; past the end it sees U+0000, which no rule takes.
class TCursor
{
public:
    explicit TCursor(QStringView text) : FText(text.utf16(), static_cast<size_t>(text.size())) {}
    char16_t Peek(size_t ahead = 0) const { return FAt + ahead < FText.size() ? FText[FAt + ahead] : u'\0'; }
    void Skip(size_t count = 1) { FAt += count; }
    bool AtEnd() const { return FAt >= FText.size(); }
    size_t Position() const { return FAt; }
    void SkipBlanks()
    {
        while (Peek() == u' ')
            ++FAt;
    }
    // Takes a sign when one stands here; true for "-".
    bool TakeSign()
    {
        const char16_t c = Peek();
        if (c != u'+' && c != u'-')
            return false;
        ++FAt;
        return c == u'-';
    }

private:
    std::u16string_view FText;
    size_t FAt = 0;
};

} // namespace

qint32 ReadWholeNumber(QStringView text)
{
    TCursor cursor(text);
    cursor.SkipBlanks();
    const bool negative = cursor.TakeSign();
    int base = 10;
    if (cursor.Peek() == u'$' || cursor.Peek() == u'x' || cursor.Peek() == u'X') {
        base = 16;
        cursor.Skip();
    } else if (cursor.Peek() == u'0' && (cursor.Peek(1) == u'x' || cursor.Peek(1) == u'X')) {
        base = 16;
        cursor.Skip(2);
    }
    if (cursor.AtEnd())
        return 0;
    // The magnitude allowed for the sign; past it the text does not read.
    const qint64 limit = negative ? qint64(1) << 31 : (qint64(1) << 31) - 1;
    qint64 value = 0;
    for (; !cursor.AtEnd(); cursor.Skip()) {
        const char16_t c = cursor.Peek();
        const int digit = base == 16 ? HexValue(c) : (IsDigit(c) ? c - u'0' : -1);
        if (digit < 0)
            return 0;
        value = value * base + digit;
        if (value > limit)
            return 0;
    }
    return static_cast<qint32>(negative ? -value : value);
}

double ReadAmount(QStringView text)
{
    TCursor cursor(text);
    cursor.SkipBlanks();
    const bool negative = cursor.TakeSign();
    const size_t numberStart = cursor.Position();
    // The digits as a whole number and the count after the point, while they
    // fit a double exactly; most amounts are a few digits with two decimals.
    constexpr quint64 ExactLimit = quint64(1) << 53;
    quint64 mantissa = 0;
    int fractionDigits = 0;
    bool exact = true;
    const auto takeDigits = [&](bool fraction) {
        int count = 0;
        for (; IsDigit(cursor.Peek()); cursor.Skip(), ++count) {
            mantissa = mantissa * 10 + static_cast<quint64>(cursor.Peek() - u'0');
            exact = exact && mantissa <= ExactLimit / 10;
            fractionDigits += fraction ? 1 : 0;
        }
        return count;
    };
    int digits = takeDigits(false);
    if (cursor.Peek() == u'.') {
        cursor.Skip();
        digits += takeDigits(true);
    }
    if (digits == 0)
        return 0;
    bool exponent = false;
    if (cursor.Peek() == u'e' || cursor.Peek() == u'E') {
        exponent = true;
        cursor.Skip();
        if (cursor.Peek() == u'+' || cursor.Peek() == u'-')
            cursor.Skip();
        int exponentDigits = 0;
        for (; IsDigit(cursor.Peek()); cursor.Skip())
            ++exponentDigits;
        if (exponentDigits == 0)
            return 0;
    }
    const size_t numberEnd = cursor.Position();
    cursor.SkipBlanks();
    if (!cursor.AtEnd())
        return 0;
    double value = 0;
    // Both operands exact and 10^22 the largest exact power: one division
    // rounds once, to the same nearest double as the full conversion.
    static constexpr double Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (exact && !exponent && fractionDigits <= 22) {
        value = static_cast<double>(mantissa) / Powers[fractionDigits];
    } else {
        // The grammar is checked: the number is ASCII, copied for the conversion.
        QVarLengthArray<char, 64> ascii(static_cast<qsizetype>(numberEnd - numberStart));
        for (size_t i = numberStart; i < numberEnd; ++i)
            ascii[static_cast<qsizetype>(i - numberStart)] =
                static_cast<char>(text[static_cast<qsizetype>(i)].unicode());
        const char* const end = ascii.data() + ascii.size();
        const auto result = std::from_chars(ascii.data(), end, value);
        // Underflow is as near to 0 as a double gets; overflow does not read.
        if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
            return 0;
    }
    return negative ? -value : value;
}
