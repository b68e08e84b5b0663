// kestrum-cli rakeback and rates: the Rakeback page's statement and the
// players' own rates, for a monthly cron line.
#include "cli/Cli.h"
#include "cli/CliCommands.h"

#include "cli/CliDatabase.h"
#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "platform/Error.h"
#include "platform/SettingsStore.h"
#include "reports/Rakeback.h"

#include <QSaveFile>
#include <algorithm>

namespace {
TRakebackPdfWriter& PdfWriter()
{
    static TRakebackPdfWriter writer;
    return writer;
}
} // namespace

void SetRakebackPdfWriter(TRakebackPdfWriter writer)
{
    PdfWriter() = std::move(writer);
}

bool ArgumentsAskForPdf(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("rakeback")) &&
           std::any_of(arguments.begin(), arguments.end(), [](const QString& a) {
               return a == QLatin1String("--pdf") || a.startsWith(QLatin1String("--pdf="));
           });
}

namespace {
// A rate from the command line: the one refusal of every rate, as bad usage.
double UsageRate(const QString& text)
{
    try {
        return ParseRate(text);
    } catch (const TError& e) {
        throw TCliUsage{e.Message()};
    }
}

// The statement as an aligned table: names left, numbers right, with ".".
void PrintStatement(const TRakebackStatement& statement, TCliOutput& out)
{
    QList<QStringList> rows = {{"Player", "Hands", "Rake", "Percent", "Rakeback"}};
    for (const TRakebackRow& row : statement.Rows)
        rows << QStringList{row.Player, QString::number(row.Hands), QString::number(row.Rake, 'f', 4),
                            QString::number(row.Percent, 'f', 2), CentsText(row.Cents)};
    rows << QStringList{"Total", QString::number(statement.Hands), QString::number(statement.Rake, 'f', 4),
                        "", CentsText(statement.Cents)};
    QList<qsizetype> widths(5, 0);
    for (const QStringList& cells : rows)
        for (int c = 0; c < 5; ++c)
            widths[c] = std::max(widths[c], cells[c].size());
    for (const QStringList& cells : rows) {
        QString line = cells[0].leftJustified(widths[0]);
        for (int c = 1; c < 5; ++c)
            line += QStringLiteral("  ") + cells[c].rightJustified(widths[c]);
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out.Out(line);
    }
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    // Whole or not at all: a failed write leaves no half statement.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw TError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}
} // namespace

int RakebackCommand(const QStringList& arguments, const QString& database, TCliOutput& out)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "What each player gets back of the rake charged to them over the period (without limits,\n"
        "the whole database): a player's own rate (kestrum-cli rates), else the default rate."));
    parser.addOption(
        {QStringLiteral("start"), QStringLiteral("The start limit."), QStringLiteral("yyyy-MM-dd HH:mm:ss")});
    parser.addOption(
        {QStringLiteral("end"), QStringLiteral("The end limit."), QStringLiteral("yyyy-MM-dd HH:mm:ss")});
    parser.addOption({QStringLiteral("basis"),
                      QStringLiteral("proportional (Share, the default) or equal (AvgShare)."),
                      QStringLiteral("proportional|equal"), QStringLiteral("proportional")});
    parser.addOption(
        {QStringLiteral("percent"),
         QStringLiteral("The default rate for this run (default: the window's RakebackPercent)."),
         QStringLiteral("P")});
    parser.addOption({QStringLiteral("csv"),
                      QStringLiteral("Writes the statement as CSV to FILE or, with -, to stdout."),
                      QStringLiteral("FILE|-")});
    parser.addOption({QStringLiteral("pdf"), QStringLiteral("Writes the statement as an A4 PDF to FILE."),
                      QStringLiteral("FILE")});
    if (!ParseCommand(parser, arguments, out))
        return 0;
    if (!parser.positionalArguments().isEmpty())
        throw TCliUsage{QStringLiteral("rakeback takes no arguments but options")};
    TReportLimit start, end;
    if (parser.isSet(QStringLiteral("start")))
        start = ParseLimit(parser.value(QStringLiteral("start")), QStringLiteral("--start"));
    if (parser.isSet(QStringLiteral("end")))
        end = ParseLimit(parser.value(QStringLiteral("end")), QStringLiteral("--end"));
    const QString basisText = parser.value(QStringLiteral("basis"));
    if (basisText != QLatin1String("proportional") && basisText != QLatin1String("equal"))
        throw TCliUsage{QStringLiteral("--basis takes proportional or equal")};
    const TRakebackBasis basis =
        basisText == QLatin1String("equal") ? TRakebackBasis::Equal : TRakebackBasis::Proportional;
    double percent = 0;
    if (parser.isSet(QStringLiteral("percent")))
        percent = UsageRate(parser.value(QStringLiteral("percent")));
    else
        TSettingsStore().Load([&percent](TSettingsReader& reader) { percent = ReadDefaultRate(reader); });

    std::unique_ptr<TRakeDatabase> db = OpenCommandDatabase(parser, database, TDatabaseUse::Read);
    const TRakebackStatement statement = BuildRakebackStatement(*db, start, end, basis, percent);
    const bool csv = parser.isSet(QStringLiteral("csv")), pdf = parser.isSet(QStringLiteral("pdf"));
    if (!csv && !pdf) {
        PrintStatement(statement, out);
        return 0;
    }
    if (pdf) {
        if (!PdfWriter())
            throw TError(QStringLiteral("This kestrum-cli cannot write PDF files"));
        PdfWriter()(statement, RakebackPeriodText(start, end), RakebackBasisText(basis), percent,
                    parser.value(QStringLiteral("pdf")));
    }
    if (csv) {
        const QString target = parser.value(QStringLiteral("csv"));
        if (target == QLatin1String("-"))
            out.OutBytes(RakebackCsv(statement));
        else
            WriteFile(target, RakebackCsv(statement));
    }
    return 0;
}

int RatesCommand(const QStringList& arguments, const QString& database, TCliOutput& out)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "list: every player's own rakeback rate, a line each: the name, a tab, the rate.\n"
        "set PLAYER PERCENT: sets a player's own rate (0 to 100, at most two decimals, \".\" as the point).\n"
        "unset PLAYER: removes it, so the default rate applies again."));
    parser.addPositionalArgument(QStringLiteral("list|set|unset"), QStringLiteral("What to do."));
    parser.addPositionalArgument(QStringLiteral("PLAYER"), QStringLiteral("The player's name."),
                                 QStringLiteral("[PLAYER [PERCENT]]"));
    if (!ParseCommand(parser, arguments, out))
        return 0;
    const QStringList positional = parser.positionalArguments();
    const QString action = positional.value(0);
    if (action == QLatin1String("list") && positional.size() == 1) {
        std::unique_ptr<TRakeDatabase> db = OpenCommandDatabase(parser, database, TDatabaseUse::Read);
        for (const auto& [player, percent] : ReadRakebackRates(*db))
            out.Out(player + QLatin1Char('\t') + QString::number(percent, 'f', 2));
        return 0;
    }
    if (action == QLatin1String("set") && positional.size() == 3) {
        const double percent = UsageRate(positional[2]);
        std::unique_ptr<TRakeDatabase> db = OpenCommandDatabase(parser, database, TDatabaseUse::Import);
        SetRakebackRate(*db, positional[1], percent);
        return 0;
    }
    if (action == QLatin1String("unset") && positional.size() == 2) {
        std::unique_ptr<TRakeDatabase> db = OpenCommandDatabase(parser, database, TDatabaseUse::Read);
        UnsetRakebackRate(*db, positional[1]);
        return 0;
    }
    throw TCliUsage{QStringLiteral("rates needs list, set PLAYER PERCENT or unset PLAYER")};
}
