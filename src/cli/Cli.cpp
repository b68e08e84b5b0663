#include "cli/Cli.h"

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "platform/Error.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <exception>

namespace {
const QString Program = QStringLiteral("kestrum-cli");

const char* const Commands = "Commands:\n"
                             "  import       Imports hand-history files or folders.\n"
                             "  remote list  Lists the server's hand-history files.\n"
                             "  remote import  Imports hand-history files from the server.\n"
                             "  report       Runs a report of the catalogue.\n"
                             "  sql          Runs any SQL text.\n"
                             "  rakeback     Works out what each player gets back for a period.\n"
                             "  rates        Lists, sets and removes the players' own rakeback rates.\n"
                             "\n"
                             "kestrum-cli COMMAND --help tells more of each.\n";

int Dispatch(const QStringList& arguments, TCliOutput& out)
{
    // Only the options before the command are read here; the rest is the command's.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.setApplicationDescription(QStringLiteral(
        "Imports hand histories into Kestrum's rake database and reports on it, without the window."));
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("The rake database file (default: the window's Kestrum2.db3, beside the "
                       "program or in ~/.local/share/Ostravel/Kestrum/)."),
        QStringLiteral("FILE"));
    parser.addOption(database);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("COMMAND"),
                                 QStringLiteral("import, remote, report, sql, rakeback or rates."),
                                 QStringLiteral("COMMAND [ARGUMENTS...]"));
    if (!parser.parse(arguments))
        throw TCliUsage{parser.errorText()};
    if (parser.isSet(version)) {
        out.Out(Program + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        return 0;
    }
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        if (!parser.isSet(help))
            throw TCliUsage{QStringLiteral("No command given")};
        out.OutBytes(HelpText(parser, Program).toUtf8() + "\n" + Commands);
        return 0;
    }
    const QString command = positional.takeFirst();
    const QStringList rest = QStringList{Program + QLatin1Char(' ') + command} + positional;
    const QString file = parser.value(database);
    if (command == QLatin1String("import"))
        return ImportCommand(rest, file, out);
    if (command == QLatin1String("remote"))
        return RemoteCommand(rest, file, out);
    if (command == QLatin1String("report"))
        return ReportCommand(rest, file, out);
    if (command == QLatin1String("sql"))
        return SqlCommand(rest, file, out);
    if (command == QLatin1String("rakeback"))
        return RakebackCommand(rest, file, out);
    if (command == QLatin1String("rates"))
        return RatesCommand(rest, file, out);
    throw TCliUsage{QStringLiteral("Unknown command \"%1\"").arg(command)};
}
} // namespace

int RunCli(const QStringList& arguments)
{
    TCliOutput out;
    try {
        return Dispatch(arguments, out);
    } catch (const TCliUsage& usage) {
        out.Err(Program + QStringLiteral(": ") + usage.Message);
        out.Err(QStringLiteral("Try \"%1 --help\".").arg(Program));
        return 2;
    } catch (const TError& error) {
        out.Err(error.Message());
        return 1;
    } catch (const std::exception& error) {
        out.Err(QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
