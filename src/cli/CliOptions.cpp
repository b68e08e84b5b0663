#include "cli/CliOptions.h"

#include "cli/CliOutput.h"
#include "platform/Clock.h"

#include <QDateTime>

namespace {
const QString DayFormat = QStringLiteral("yyyy-MM-dd");
} // namespace

TFileFilter ParseFilter(const QString& text)
{
    if (text == QLatin1String("ring"))
        return TFileFilter::Ring;
    if (text == QLatin1String("tournaments"))
        return TFileFilter::Trny;
    if (text == QLatin1String("both"))
        return TFileFilter::Both;
    throw TCliUsage{QStringLiteral("--filter takes ring, tournaments or both, not \"%1\"").arg(text)};
}

QDate ParseDay(const QString& text, const QString& option)
{
    if (text == QLatin1String("today"))
        return Clock::Today();
    if (text == QLatin1String("yesterday"))
        return Clock::Today().addDays(-1);
    const QDate day = QDate::fromString(text, DayFormat);
    if (!day.isValid())
        throw TCliUsage{QStringLiteral("%1 takes a date as yyyy-MM-dd, today or yesterday, not \"%2\"")
                            .arg(option, text)};
    return day;
}

TReportLimit ParseLimit(const QString& text, const QString& option)
{
    const QDateTime moment = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!moment.isValid())
        throw TCliUsage{QStringLiteral("%1 takes a date and time as \"yyyy-MM-dd HH:mm:ss\", not \"%2\"")
                            .arg(option, text)};
    return {true, moment.date(), moment.time()};
}

bool TDaySpan::Contains(const QString& fileName) const
{
    if (!Since && !Until)
        return true;
    const QDate day = QDate::fromString(fileName.mid(2, 10), DayFormat);
    if (!day.isValid())
        return false;
    return (!Since || day >= *Since) && (!Until || day <= *Until);
}

bool TEntrySelection::Accepts(const QString& fileName) const
{
    const bool kindOk =
        Filter == TFileFilter::Both || (Filter == TFileFilter::Ring) == IsRingGameFile(fileName);
    return kindOk && Days.Contains(fileName);
}

void AddSelectionOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("filter"),
                      QStringLiteral("Which files: ring, tournaments or both (default)."),
                      QStringLiteral("ring|tournaments|both"), QStringLiteral("both")});
    parser.addOption(
        {QStringLiteral("since"),
         QStringLiteral("Only files named with this date or later (yyyy-MM-dd, today, yesterday)."),
         QStringLiteral("DATE")});
    parser.addOption(
        {QStringLiteral("until"),
         QStringLiteral("Only files named with this date or earlier (yyyy-MM-dd, today, yesterday)."),
         QStringLiteral("DATE")});
    parser.addOption(
        {QStringLiteral("new"), QStringLiteral("Only the files the import log does not have as they "
                                               "are now: a catch-up run never misses a file.")});
}

TEntrySelection ReadSelectionOptions(const QCommandLineParser& parser)
{
    TEntrySelection selection;
    selection.Filter = ParseFilter(parser.value(QStringLiteral("filter")));
    if (parser.isSet(QStringLiteral("since")))
        selection.Days.Since = ParseDay(parser.value(QStringLiteral("since")), QStringLiteral("--since"));
    if (parser.isSet(QStringLiteral("until")))
        selection.Days.Until = ParseDay(parser.value(QStringLiteral("until")), QStringLiteral("--until"));
    selection.NewOnly = parser.isSet(QStringLiteral("new"));
    return selection;
}

QString HelpText(const QCommandLineParser& parser, const QString& command)
{
    // Qt names the program by its full path and knows nothing of command words.
    QString text = parser.helpText();
    const qsizetype options = text.indexOf(QLatin1String(" [options]"));
    if (text.startsWith(QLatin1String("Usage: ")) && options > 0)
        text.replace(7, options - 7, command);
    return text;
}

bool ParseCommand(QCommandLineParser& parser, const QStringList& arguments, TCliOutput& out)
{
    parser.addOption({QStringLiteral("database"),
                      QStringLiteral("The rake database file (default: the window's Kestrum2.db3)."),
                      QStringLiteral("FILE")});
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    if (!parser.parse(arguments))
        throw TCliUsage{parser.errorText()};
    if (parser.isSet(help)) {
        out.OutBytes(HelpText(parser, arguments.constFirst()).toUtf8());
        return false;
    }
    return true;
}
