// Text without a byte-order mark: UTF-8 when it is valid UTF-8, else Windows-1252.
#include "platform/TextCodec.h"
#include "support/QtPrinters.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

struct TCodecCase
{
    QByteArray Bytes;
    QString Text;
};

TEST(TextCodec, DecodesTheSystemCodePage)
{
    const TCodecCase cases[] = {
        {"", ""},
        {"Hand #1", "Hand #1"},
        {"Ren\xC3\xA9 \xE2\x82\xAC", QStringLiteral("René €")},
        {"\xF0\x9F\x98\x80", QStringLiteral("\U0001F600")},
        {"\xEF\xBB\xBFx", QStringLiteral("\uFEFFx")}, // a mark here is a character
        // Not UTF-8, so every byte is a Windows-1252 character, the valid pairs too.
        {"Ren\xE9", QStringLiteral("René")},
        {"\x80\x8A\x8E\x8C\x9C\x9F\xFF", QStringLiteral("€ŠŽŒœŸÿ")},
        {"\x93quoted\x94 \x96 \x85", QStringLiteral("\u201Cquoted\u201D \u2013 \u2026")},
        {"Jos\xC3\xA9 \xE9", QStringLiteral("JosÃ© é")},
        {"\xC3", QStringLiteral("Ã")},                     // a cut sequence
        {"\xC0\xAF", QStringLiteral("À¯")},                // an overlong form is no UTF-8
        {"\xED\xA0\x80", QStringLiteral("í\u00A0€")},      // nor is an encoded surrogate
        {"\xF4\x90\x80\x80", QStringLiteral("ô\u0090€€")}, // past U+10FFFF
    };
    for (const TCodecCase& c : cases)
        EXPECT_EQ(DecodeSystemAnsi(c.Bytes), c.Text) << c.Bytes.toHex().constData();
}

TEST(TextCodec, EveryByteDecodesToOneCharacter)
{
    // Any byte that is not UTF-8 becomes one character, never a replacement.
    for (int b = 0x80; b <= 0xFF; ++b) {
        const QString text = DecodeSystemAnsi(QByteArray(1, static_cast<char>(b)));
        EXPECT_EQ(text.size(), 1) << b;
        EXPECT_NE(text, QStringLiteral("\uFFFD")) << b;
    }
    // Our own table reads every byte as the system's converter does.
    QByteArray all;
    for (int b = 0; b <= 0xFF; ++b)
        all.append(static_cast<char>(b));
    QStringDecoder system("windows-1252");
    ASSERT_TRUE(system.isValid());
    EXPECT_EQ(DecodeWindows1252(all), system.decode(all));
}

TEST(TextCodec, DecodesUtf8AsQtDoesAtEveryOffset)
{
    // The decoder takes ASCII in blocks: each sequence is placed at every
    // offset around those blocks, between runs of ASCII of every length.
    const QByteArray sequences[] = {
        "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xEF\xBB\xBF",     "\xF4\x8F\xBF\xBF", "\x00",
        "\xC3",     "\xC0\xAF",     "\xED\xA0\x80",     "\xF4\x90\x80\x80", "\xE2\x82",         "\x80",
        "\xFF",
    };
    QStringDecoder qt(QStringDecoder::Utf8,
                      QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    int valid = 0;
    for (const QByteArray& sequence : sequences) {
        for (int before = 0; before < 34; ++before) {
            for (int after = 0; after < 18; after += 3) {
                const QByteArray bytes = QByteArray(before, 'a') + sequence + QByteArray(after, 'z');
                const QString expected = qt.decode(bytes);
                const bool broken = qt.hasError();
                qt.resetState();
                const std::optional<QString> decoded = DecodeValidUtf8(bytes);
                ASSERT_EQ(decoded.has_value(), !broken) << bytes.toHex().constData();
                ASSERT_EQ(SystemAnsiIsUtf8(bytes), !broken) << bytes.toHex().constData();
                if (decoded) {
                    ASSERT_EQ(*decoded, expected) << bytes.toHex().constData();
                    ++valid;
                }
            }
        }
    }
    EXPECT_GT(valid, 1000);
}

} // namespace
