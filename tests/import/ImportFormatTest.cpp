#include "import/ImportFormat.h"

#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>

namespace {

TEST(ReadWholeNumber, ReadsDecimalAndHexWithinRange)
{
    const struct
    {
        const char* Text;
        qint32 Value;
    } cases[] = {
        {"10023", 10023},
        {"  42", 42},
        {"+7", 7},
        {"-7", -7},
        {"007", 7},
        {"$1F", 31},
        {"x1f", 31},
        {"X1F", 31},
        {"0x1f", 31},
        {"0XaB", 171},
        {"-$10", -16},
        {"+0x10", 16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$7FFFFFFF", 2147483647},
        {"-$80000000", -2147483647 - 1},
        // Nothing of these reads.
        {"2147483648", 0},
        {"-2147483649", 0},
        {"$80000000", 0},
        {"99999999999999999999", 0},
        {"", 0},
        {"   ", 0},
        {"-", 0},
        {"$", 0},
        {"0x", 0},
        {"12 ", 0},
        {"12a", 0},
        {"1,000", 0},
        {"- 5", 0},
        {"\t5", 0},
        {"1.0", 0},
        {"00x1", 0},
        {"$1G", 0},
        {"0x-1", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadWholeNumber(QString::fromLatin1(c.Text)), c.Value) << '"' << c.Text << '"';
    // Digits of other scripts are no digits.
    EXPECT_EQ(ReadWholeNumber(QStringLiteral("\u0661\u0662")), 0);
}

TEST(ReadAmount, ReadsTheFixedFormatOnly)
{
    const struct
    {
        const char* Text;
        double Value;
    } cases[] = {
        {"3.3", 3.3},
        {"  1.5  ", 1.5},
        {"+2", 2},
        {"-0.25", -0.25},
        {"10", 10},
        {"5.", 5},
        {".5", 0.5},
        {"1e3", 1000},
        {"1.5E-2", 0.015},
        {"2e+2", 200},
        {"0.1", 0.1},
        {"1e-400", 0}, // below the smallest double
        // Nothing of these reads.
        {"1,000", 0},
        {"1,5", 0},
        {"$5", 0},
        {"5$", 0},
        {"", 0},
        {" ", 0},
        {".", 0},
        {"-", 0},
        {"e5", 0},
        {"1e", 0},
        {"1e+", 0},
        {"1.2.3", 0},
        {"\t1", 0},
        {"1\t", 0},
        {"inf", 0},
        {"nan", 0},
        {"0x10", 0},
        {"1e999", 0},
        {"- 1", 0},
        {"1 2", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadAmount(QString::fromLatin1(c.Text)), c.Value) << '"' << c.Text << '"';
}

TEST(ReadAmount, IsExactForLongTexts)
{
    // Rounded once, correctly, however many digits the text has.
    const QString digits = QStringLiteral("0.") + QString(400, QLatin1Char('3'));
    EXPECT_EQ(ReadAmount(digits), 1.0 / 3.0);
    EXPECT_EQ(ReadAmount(QString(300, QLatin1Char('9'))), 1e300);
}

TEST(ReadAmount, IgnoresTheUserLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(ReadAmount(u"1.5"), 1.5);
    EXPECT_EQ(ReadAmount(u"1,5"), 0);
    std::setlocale(LC_ALL, "C.UTF-8");
    QLocale::setDefault(previous);
}

} // namespace
