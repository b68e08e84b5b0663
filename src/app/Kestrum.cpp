// The entry: start-up and the event loop.
#include "app/AppTitle.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/StartUp.h"
#include "db/RakeDatabase.h"
#include "platform/DatabaseHome.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

namespace {
void SetNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Ostravel"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrum"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRUM_VERSION));
}

// One database per server: --database names another file than the usual one.
QCommandLineOption AddOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Imports hand histories and reports the rake each player paid."));
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("The rake database file, made when missing (default: Kestrum2.db3)."),
        QStringLiteral("FILE"));
    parser.addOption(database);
    parser.addHelpOption();
    parser.addVersionOption();
    return database;
}

// Help, version and usage errors under Qt Core alone, so that they need no
// display; a start that reaches the end has none and says so.
int RunWithoutWindow(int argc, char** argv, bool displayAvailable)
{
    QCoreApplication app(argc, argv);
    SetNames();
    QCommandLineParser parser;
    AddOptions(parser);
    // Qt's own window options (-platform, -style) are unknown to Qt Core: a
    // help asked for beside them is still shown, and without a display the
    // missing display is the news, not the option.
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp();
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (parsed || displayAvailable)
        parser.process(app); // --help-all, or a usage error, ends here
    std::fprintf(stderr, "%s\n", qPrintable(NoDisplayMessage()));
    return 1;
}

// A display that is named but cannot be reached ends Qt's start with a fatal
// message: its text is kept, the abort (and its core dump) is not.
QtMessageHandler QtHandler = nullptr;
void EndFailedStart(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    QtHandler(type, context, message);
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "kestrum: cannot open the window: the window system did not start\n");
        std::_Exit(1);
    }
}
} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool display = DisplayAvailable(arguments, [](const char* name) { return qgetenv(name); });
    if (AsksForTextOnly(arguments) || !display)
        return RunWithoutWindow(argc, argv, display);

    QtHandler = qInstallMessageHandler(EndFailedStart);
    QApplication app(argc, argv);
    qInstallMessageHandler(QtHandler);
    SetNames();
    QCommandLineParser parser;
    const QCommandLineOption database = AddOptions(parser);
    parser.process(app);

    TMainFormPlaces places;
    if (parser.isSet(database)) {
        const QFileInfo file(parser.value(database));
        places.DatabaseFolder = file.absolutePath();
        places.DatabaseFileName = file.fileName();
    } else {
        places.DatabaseFolder = DatabaseFolder(QLatin1String(TRakeDatabase::DatabaseFileName));
    }
    TQtMessageBoxes boxes;
    TMainForm form(boxes, places);
    boxes.SetParent(&form);
    form.ShowAtStart();
    QApplication::exec();
    return 0;
}
