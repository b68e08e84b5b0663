// kestrum-cli report and kestrum-cli sql: the Reports page's Load and Export.
#include "cli/CliCommands.h"

#include "cli/CliDatabase.h"
#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "platform/Error.h"
#include "reports/CsvWriter.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportRunner.h"

#include <QBuffer>
#include <QLocale>
#include <algorithm>

namespace {
void AddCsvOption(QCommandLineParser& parser)
{
    parser.addOption(
        {QStringLiteral("csv"),
         QStringLiteral("Writes the table as the window's Export does, to FILE or, with -, to stdout."),
         QStringLiteral("FILE|-")});
}

// The report table as text: a title line, then the rows with the grid's
// formats, numbers right-aligned, columns two blanks apart.
void PrintTable(const TReportRunner& runner, TCliOutput& out)
{
    const TDataView& view = runner.ReportClientDataSet;
    const TDataViewModel& model = runner.ReportModel;
    const int columns = view.ColumnCount();
    if (columns == 0)
        return;
    QList<QStringList> rows;
    QStringList titles;
    for (int c = 0; c < columns; ++c)
        titles << model.ColumnTitle(c);
    rows << titles;
    for (int r = 0; r < view.RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << model.DisplayText(r, c);
        rows << cells;
    }
    QList<qsizetype> widths(columns, 0);
    for (const QStringList& cells : rows)
        for (int c = 0; c < columns; ++c)
            widths[c] = std::max(widths[c], cells[c].size());
    for (const QStringList& cells : rows) {
        QStringList padded;
        for (int c = 0; c < columns; ++c) {
            const TFieldType type = view.Column(c).Type;
            const bool number = type == TFieldType::Integer || type == TFieldType::Real;
            padded << (number ? cells[c].rightJustified(widths[c]) : cells[c].leftJustified(widths[c]));
        }
        QString line = padded.join(QStringLiteral("  "));
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out.Out(line);
    }
}

// Runs the text as Load runs the SQL box, then shows or writes the table.
int RunReport(const QString& sql, const QCommandLineParser& parser, const QString& database, TCliOutput& out)
{
    std::unique_ptr<TRakeDatabase> db = OpenCommandDatabase(parser, database, TDatabaseUse::Read);
    QString status;
    TReportRunner runner(*db, [&status](const QString& text) { status = text; });
    runner.Load(sql);
    if (!parser.isSet(QStringLiteral("csv"))) {
        PrintTable(runner, out);
        out.Out(status);
        return 0;
    }
    if (runner.ReportClientDataSet.ColumnCount() == 0) {
        out.Err(QStringLiteral("Report table is empty"));
        return 1;
    }
    const QString target = parser.value(QStringLiteral("csv"));
    if (target != QLatin1String("-")) {
        ExportCsvFile(runner.ReportClientDataSet, target);
        return 0;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteCsvText(BuildCsvText(runner.ReportClientDataSet, QLocale()), buffer, target);
    out.OutBytes(buffer.data());
    return 0;
}

// A catalogue number (1 and up) or an item's exact name.
int ReportIndex(const QString& item)
{
    const QStringList& items = ReportItemTexts();
    bool number = false;
    const int index = item.toInt(&number);
    if (number && index >= 1 && index < items.size())
        return index;
    const int named = int(items.indexOf(item));
    if (named >= 1)
        return named;
    throw TCliUsage{
        QStringLiteral("No report \"%1\": give a number from 1 to %2 or a name from the catalogue")
            .arg(item)
            .arg(items.size() - 1)};
}
} // namespace

int ReportCommand(const QStringList& arguments, const QString& database, TCliOutput& out)
{
    QCommandLineParser parser;
    QString catalogue;
    const QStringList& items = ReportItemTexts();
    for (int i = 1; i < items.size(); ++i)
        catalogue += QStringLiteral("\n  %1  %2").arg(i, 2).arg(items[i]);
    parser.setApplicationDescription(
        QStringLiteral("Runs a report of the catalogue, limited by the start and end when given:") +
        catalogue);
    parser.addOption(
        {QStringLiteral("start"), QStringLiteral("The start limit."), QStringLiteral("yyyy-MM-dd HH:mm:ss")});
    parser.addOption(
        {QStringLiteral("end"), QStringLiteral("The end limit."), QStringLiteral("yyyy-MM-dd HH:mm:ss")});
    AddCsvOption(parser);
    parser.addPositionalArgument(QStringLiteral("ITEM"),
                                 QStringLiteral("A report number or its exact name."));
    if (!ParseCommand(parser, arguments, out))
        return 0;
    if (parser.positionalArguments().size() != 1)
        throw TCliUsage{QStringLiteral("report takes one ITEM")};
    const int index = ReportIndex(parser.positionalArguments().constFirst());
    TReportLimit start, end;
    if (parser.isSet(QStringLiteral("start")))
        start = ParseLimit(parser.value(QStringLiteral("start")), QStringLiteral("--start"));
    if (parser.isSet(QStringLiteral("end")))
        end = ParseLimit(parser.value(QStringLiteral("end")), QStringLiteral("--end"));
    return RunReport(BuildReportSQL(index, start, end), parser, database, out);
}

int SqlCommand(const QStringList& arguments, const QString& database, TCliOutput& out)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs the first statement of any SQL text, as the Reports page's Load does."));
    AddCsvOption(parser);
    parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("The SQL text."));
    if (!ParseCommand(parser, arguments, out))
        return 0;
    if (parser.positionalArguments().size() != 1 || parser.positionalArguments().constFirst().isEmpty())
        throw TCliUsage{QStringLiteral("sql takes one non-empty TEXT")};
    return RunReport(parser.positionalArguments().constFirst(), parser, database, out);
}
