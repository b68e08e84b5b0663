#include "cli/Cli.h"

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "platform/Error.h"
#include "platform/Interrupt.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <csignal>
#include <exception>

namespace {
const QString Program = QStringLiteral("kestrum-cli");
constexpr int InterruptedExit = 130; // the shell's code for a stop by SIGINT

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

// Ctrl+C asks the command to stop (the engine's statements and the waits
// look at the request); a second one ends the program at once.
void CatchSignals()
{
    struct sigaction action = {};
    action.sa_handler = [](int) { Interrupt::Request(); };
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    // A closed pipe is a failed write like any other: a message and exit code 1.
    std::signal(SIGPIPE, SIG_IGN);
}
} // namespace

int RunCli(const QStringList& arguments)
{
    CatchSignals();
    TCliOutput out;
    // Whatever a stop made fail, it was the stop: an import rolled back, no
    // table printed, no file written, and nothing more said.
    try {
        const int code = Dispatch(arguments, out);
        return Interrupt::Requested() ? InterruptedExit : code;
    } catch (const TCliUsage& usage) {
        if (Interrupt::Requested())
            return InterruptedExit;
        out.Err(Program + QStringLiteral(": ") + usage.Message);
        out.Err(QStringLiteral("Try \"%1 --help\".").arg(Program));
        return 2;
    } catch (const TError& error) {
        if (Interrupt::Requested())
            return InterruptedExit;
        out.Err(error.Message());
        return 1;
    } catch (const std::exception& error) {
        if (Interrupt::Requested())
            return InterruptedExit;
        out.Err(QString::fromLocal8Bit(error.what()));
        return 1;
    } catch (const TCliInterrupted&) {
        return InterruptedExit;
    }
}
