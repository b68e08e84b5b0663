#include "reports/CsvWriter.h"

#include "platform/Error.h"
#include "platform/LocaleEncoding.h"
#include "reports/DataView.h"

#include <QDir>
#include <QIODevice>
#include <QSaveFile>
#include <charconv>
#include <cmath>

namespace {
constexpr int SignificantDigits = 15;
constexpr int LowestPlainExponent = -5; // 0.00001 is still written plainly
const QString LineEnd = QStringLiteral("\r\n");

void AppendQuoted(QString& out, const QString& text)
{
    out += QLatin1Char('"');
    if (text.contains(QLatin1Char('"')))
        out += EscapeQuotes(text);
    else
        out += text;
    out += QLatin1Char('"');
}

QString TargetName(const QString& fileName)
{
    return QDir::toNativeSeparators(fileName);
}
} // namespace

QString EscapeQuotes(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return escaped;
}

QString FormatCsvReal(double value, const QString& decimalSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    // d.dddddddddddddde+XX: the 15 significant digits, rounded once.
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                      SignificantDigits - 1);
    const char* p = buffer;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[SignificantDigits];
    int count = 0;
    for (; p < result.ptr && *p != 'e'; ++p)
        if (*p != '.')
            digits[count++] = *p;
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent); // to_chars writes no terminator
    while (count > 1 && digits[count - 1] == '0')
        --count;

    QString text;
    text.reserve(SignificantDigits + 8);
    if (negative)
        text += QLatin1Char('-');
    if (exponent < LowestPlainExponent || exponent >= SignificantDigits) {
        text += QLatin1Char(digits[0]);
        if (count > 1) {
            text += decimalSeparator;
            text += QLatin1String(digits + 1, count - 1);
        }
        text += QLatin1Char('E');
        text += QString::number(exponent);
    } else if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i)
            text += QLatin1Char(i < count ? digits[i] : '0');
        if (count > exponent + 1) {
            text += decimalSeparator;
            text += QLatin1String(digits + exponent + 1, count - exponent - 1);
        }
    } else {
        text += QLatin1Char('0');
        text += decimalSeparator;
        for (int i = 1; i < -exponent; ++i)
            text += QLatin1Char('0');
        text += QLatin1String(digits, count);
    }
    return text;
}

QString BuildCsvText(TDataView& view, const QLocale& locale)
{
    const QString separator = locale.decimalPoint();
    const bool quoteReals = separator == QLatin1String(",");
    const int columns = view.ColumnCount();

    QString out;
    out.reserve((view.RowCount() + 1) * (columns * 12 + 2));
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            out += QLatin1Char(',');
        AppendQuoted(out, view.Column(c).Name);
    }
    out += LineEnd;

    TControlsDisabled frozen(view);
    {
        TScrollDetach detached(view);
        for (view.First(); !view.Eof(); view.Next()) {
            const int row = view.CurrentRow();
            for (int c = 0; c < columns; ++c) {
                if (c > 0)
                    out += QLatin1Char(',');
                const TFieldType type = view.Column(c).Type;
                if (type == TFieldType::Text) {
                    AppendQuoted(out, view.Text(row, c));
                    continue;
                }
                if (view.IsNull(row, c))
                    continue;
                switch (type) {
                case TFieldType::Integer:
                    out += QString::number(view.Integer(row, c));
                    break;
                case TFieldType::Real:
                    if (quoteReals)
                        AppendQuoted(out, FormatCsvReal(view.Real(row, c), separator));
                    else
                        out += FormatCsvReal(view.Real(row, c), separator);
                    break;
                default:
                    // Quoted like text: its bytes may hold a comma or a line break.
                    AppendQuoted(out, QString::fromUtf8(view.Blob(row, c)));
                    break;
                }
            }
            out += LineEnd;
        }
    }
    view.First();
    return out;
}

void WriteCsvText(const QString& text, QIODevice& device, const QString& targetName)
{
    const QByteArray bytes = EncodeLocaleCodeSet(text);
    if (device.write(bytes) != bytes.size())
        throw TError(
            QStringLiteral("Cannot write file \"%1\". %2").arg(TargetName(targetName), device.errorString()));
}

void ExportCsvFile(TDataView& view, const QString& fileName, const QLocale& locale)
{
    const QString text = BuildCsvText(view, locale);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw TError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(TargetName(fileName), file.errorString()));
    WriteCsvText(text, file, fileName);
    if (!file.commit())
        throw TError(
            QStringLiteral("Cannot write file \"%1\". %2").arg(TargetName(fileName), file.errorString()));
}
