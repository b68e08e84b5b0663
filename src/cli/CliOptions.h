#pragma once

#include "reports/ReportCatalogue.h"
#include "sources/FileLists.h"

#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// The options several commands share, and how their values are read. Every
// reader raises TCliUsage with a message that names the bad value.

// --filter ring|tournaments|both (default both), as the window's radio buttons.
TFileFilter ParseFilter(const QString& text);

// yyyy-MM-dd, or the words "today" and "yesterday" (from the program's clock).
QDate ParseDay(const QString& text, const QString& option);

// "yyyy-MM-dd HH:mm:ss", as a report limit that is on.
TReportLimit ParseLimit(const QString& text, const QString& option);

// The span of --since and --until; a name is in it when it carries a date at
// characters 3 to 12 ("HH" + date + " " + table + ".txt") inside the span.
// Without either limit every name is in it; with one, a name without a date is not.
struct TDaySpan
{
    std::optional<QDate> Since, Until;
    bool Contains(const QString& fileName) const;
};

// The filter and date options of the import commands.
struct TEntrySelection
{
    TFileFilter Filter = TFileFilter::Both;
    TDaySpan Days;
    bool NewOnly = false; // --new: the import log's catch-up selection, applied last
    // The filter and the span both let the file name through.
    bool Accepts(const QString& fileName) const;
};

void AddSelectionOptions(QCommandLineParser& parser);
TEntrySelection ReadSelectionOptions(const QCommandLineParser& parser);

// The parser's help, its usage line naming the program and command words.
QString HelpText(const QCommandLineParser& parser, const QString& command);

// Parses one command's arguments (arguments[0] names the command for the help
// text). Adds --database and --help; raises TCliUsage on an unknown option or
// a missing value. Returns false when --help was asked for and has been
// printed to stdout.
bool ParseCommand(QCommandLineParser& parser, const QStringList& arguments, class TCliOutput& out);
