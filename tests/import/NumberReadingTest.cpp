// The two number readings of hand histories: whole numbers (hand numbers) and amounts.
#include "import/ImportFormat.h"

#include <QLocale>
#include <QString>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

struct TWholeCase
{
    const char* Text;
    qint32 Value;
};

const TWholeCase WholeCases[] = {
    {"42", 42},
    {"   42", 42},
    {"+42", 42},
    {"-42", -42},
    {"0042", 42},
    {"42 ", 0}, // nothing after the digits, not even a blank
    {" 4 2", 0},
    {"4x", 0},
    {"", 0},
    {"   ", 0},
    {"-", 0},
    {"+-1", 0},
    {"- 1", 0},
    {"\t42", 0}, // a tab is no blank
    {"$2A", 42},
    {"$2a", 42},
    {"x2A", 42},
    {"X2a", 42},
    {"0x2A", 42},
    {"0X2a", 42},
    {"-$10", -16},
    {" +0x10", 16},
    {"$", 0},
    {"0x", 0},
    {"x", 0},
    {"$G", 0},
    {"0x1G", 0},
    {"00x10", 0},
    {"$-10", 0},
    {"2147483647", 2147483647},
    {"2147483648", 0},
    {"-2147483648", -2147483647 - 1},
    {"-2147483649", 0},
    {"$7FFFFFFF", 2147483647},
    {"$80000000", 0},
    {"-$80000000", -2147483647 - 1},
    {"99999999999999999999", 0},
    {"0000000000000000000000000000042", 42},
    {"4.2", 0},
    {"1e3", 0},
    {"1,000", 0},
    {"٤٢", 0}, // Arabic-Indic digits are no digits here
};

TEST(WholeNumber, ReadsByTheFixedGrammar)
{
    for (const TWholeCase& c : WholeCases)
        EXPECT_EQ(ReadWholeNumber(QString::fromUtf8(c.Text)), c.Value) << '"' << c.Text << '"';
}

struct TAmountCase
{
    const char* Text;
    double Value;
};

const TAmountCase AmountCases[] = {
    {"3.3", 3.3},
    {"12", 12},
    {"  12.25", 12.25},
    {"12.25   ", 12.25},
    {" +0.5 ", 0.5},
    {"-7.5", -7.5},
    {"1e3", 1000},
    {"1E3", 1000},
    {"2.5e-1", 0.25},
    {"2.5E+2", 250},
    {"5.", 5},
    {".5", 0.5},
    {"0.1", 0.1},
    {"1,000", 0}, // thousands comma
    {"1,5", 0},   // decimal comma of some locales
    {"$5", 0},    // currency sign
    {"5$", 0},
    {"5 USD", 0},
    {"abc", 0},
    {"", 0},
    {" ", 0},
    {".", 0},
    {"-", 0},
    {"+.", 0},
    {"e5", 0},
    {"1e", 0},
    {"1e+", 0},
    {"1 e3", 0},
    {"1e3.5", 0},
    {"- 5", 0},
    {"5\t", 0}, // a tab is no blank
    {"1.2.3", 0},
    {"0x10", 0}, // hexadecimal is for whole numbers only
    {"inf", 0},
    {"nan", 0},
    {"1e999", 0}, // beyond a double
    {"123456789012345678901234567890", 1.2345678901234568e29},
};

TEST(Amount, ReadsByTheFixedGrammar)
{
    for (const TAmountCase& c : AmountCases)
        EXPECT_EQ(ReadAmount(QString::fromUtf8(c.Text)), c.Value) << '"' << c.Text << '"';
}

TEST(Amount, IsTheNearestDouble)
{
    // Reading must round once, as the decimal text's nearest double.
    const char* const texts[] = {"0.1",   "0.3", "3.3", "1.6", "2.675", "0.000001", "9007199254740993",
                                 "1e-300"};
    for (const char* text : texts)
        EXPECT_EQ(ReadAmount(QString::fromLatin1(text)), std::strtod(text, nullptr)) << text;
}

TEST(Amount, IsTheNearestDoubleAcrossDigitCounts)
{
    // Short amounts take a quicker way than long ones; around the border
    // (15 to 17 digits, fractions up to 25 places) both must round as strtod.
    std::mt19937_64 random(2026);
    for (int i = 0; i < 20000; ++i) {
        const int whole = int(random() % 18);
        const int fraction = int(random() % 26);
        std::string text;
        for (int d = 0; d < whole; ++d)
            text += char('0' + random() % 10);
        if (fraction > 0 || text.empty()) {
            text += '.';
            for (int d = 0; d < std::max(fraction, 1); ++d)
                text += char('0' + random() % 10);
        }
        if (random() % 8 == 0)
            text.insert(0, "-");
        ASSERT_EQ(ReadAmount(QString::fromLatin1(text)), std::strtod(text.c_str(), nullptr)) << text;
    }
}

TEST(Amount, IsExactForLongTexts)
{
    // Rounded once, correctly, however many digits the text has.
    EXPECT_EQ(ReadAmount(QStringLiteral("0.") + QString(400, u'3')), 1.0 / 3.0);
    EXPECT_EQ(ReadAmount(QString(300, u'9')), 1e300);
}

TEST(Amount, DoesNotFollowTheUserLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(ReadAmount(u"2.5"), 2.5);
    EXPECT_EQ(ReadAmount(u"2,5"), 0);
    EXPECT_EQ(ReadAmount(u"1.000,5"), 0);
    std::setlocale(LC_ALL, "C.UTF-8");
    QLocale::setDefault(saved);
}

} // namespace
