// kestrum-cli import and kestrum-cli remote: the window's import run, fed from
// local paths or from the server's file API.
#include "cli/CliCommands.h"

#include "cli/CliDatabase.h"
#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "import/ImportLog.h"
#include "import/ImportRun.h"
#include "import/LocalEntry.h"
#include "platform/Error.h"
#include "platform/Interrupt.h"
#include "platform/SettingsStore.h"
#include "sources/ApiChecks.h"
#include "sources/ApiClient.h"
#include "sources/LocalFolder.h"
#include "sources/RemoteFetch.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {
// The import run of the window, with its messages on the two streams and a
// progress line in place of the status line and the wait cursor.
class TCliImportFrontEnd : public TImportFrontEnd
{
public:
    TCliImportFrontEnd(TCliOutput& out, int count) : FOut(out), FCount(count) { FClock.start(); }
    bool Failed() const { return FFailed; }

    // Called before each file and before the commit: Ctrl+C stops the run
    // there, and the run rolls back.
    void SetStatus(const QString&) override
    {
        if (Interrupt::Requested())
            throw TCliInterrupted{};
    }
    void ShowError(const QString& text) override
    {
        FFailed = true;
        FOut.Err(text);
    }
    void CloseViews() override {}
    void ShowPlain(const QString& text) override { FOut.Out(text); }
    void Counted(const TImportCounts& counts) override
    {
        FOut.Out(QStringLiteral("Files: %1, new hands: %2, hands read again: %3")
                     .arg(counts.Files)
                     .arg(counts.NewHands)
                     .arg(counts.Hands - counts.NewHands));
    }
    void Progress(int done, int hands) override
    {
        const double seconds = std::max(double(FClock.elapsed()) / 1000.0, 0.001);
        FOut.Progress(QStringLiteral("Files %1 of %2, %3 raked hands, %4 hands/s")
                          .arg(done)
                          .arg(FCount)
                          .arg(FLocale.toString(hands))
                          .arg(FLocale.toString(qRound64(hands / seconds))),
                      done == FCount);
    }

private:
    TCliOutput& FOut;
    const int FCount;
    const QLocale FLocale;
    QElapsedTimer FClock;
    bool FFailed = false;
};

int RunCliImport(TRakeDatabase& database, const QStringList& entries, const QString& verb,
                 const TFetchEntry& fetch, TCliOutput& out)
{
    TCliImportFrontEnd frontEnd(out, int(entries.size()));
    frontEnd.Progress(0, 0);
    RunImport(database, entries, verb, fetch, frontEnd);
    return frontEnd.Failed() ? 1 : 0;
}

// The files the paths stand for: a folder's "HH*.txt" entries as the window
// lists them, or the file itself; each only when the selection accepts its name.
QStringList LocalPaths(const QStringList& paths, const TEntrySelection& selection)
{
    QStringList entries;
    for (const QString& path : paths) {
        if (QFileInfo(path).isDir()) {
            TFileLists lists;
            ListLocalFolder(path, lists);
            for (const QString& name : lists.Both)
                if (selection.Accepts(name))
                    entries << LocalEntryPath(path, name);
        } else if (selection.Accepts(QFileInfo(path).fileName())) {
            entries << path; // a path that is not there fails to load, as in the window
        }
    }
    return entries;
}

// The first line of a file, without its line break.
QString FirstLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TError(QStringLiteral("Cannot read the password file %1: %2").arg(path, file.errorString()));
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

// The connection fields: each option, else what the window saved, else the
// window's defaults. The password never comes from an argument, which any
// user could read in the process list.
TConnectionFields RemoteFields(const QCommandLineParser& parser, TCliOutput& out)
{
    TConnectionFields fields;
    bool rememberPassword = false;
    QString savedPassword;
    TSettingsStore().Load([&](TSettingsReader& reader) {
        fields.ServerIP = reader.ReadText(SettingNames::ServerIP, SettingDefaults::ServerIP);
        fields.FilePort = reader.ReadText(SettingNames::FilePort, SettingDefaults::FilePort);
        fields.APIPath = reader.ReadText(SettingNames::APIPath, SettingDefaults::APIPath);
        rememberPassword = reader.ReadBool(SettingNames::RememberPW);
        if (rememberPassword)
            savedPassword = reader.ReadText(SettingNames::Password);
    });
    if (parser.isSet(QStringLiteral("server")))
        fields.ServerIP = parser.value(QStringLiteral("server"));
    if (parser.isSet(QStringLiteral("port")))
        fields.FilePort = parser.value(QStringLiteral("port"));
    if (parser.isSet(QStringLiteral("api-path")))
        fields.APIPath = parser.value(QStringLiteral("api-path"));
    if (parser.isSet(QStringLiteral("password-file"))) {
        const QString path = parser.value(QStringLiteral("password-file"));
        fields.Password = FirstLine(path);
        // Said, not refused: the run at hand still works, the owner learns to fix it.
        if (QFileInfo(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther))
            out.Err(QStringLiteral("Warning: %1 can be read by other users").arg(path));
    } else if (qEnvironmentVariableIsSet("KESTRUM_API_PASSWORD"))
        fields.Password = qEnvironmentVariable("KESTRUM_API_PASSWORD");
    else
        fields.Password = savedPassword;
    return fields;
}
} // namespace

int ImportCommand(const QStringList& arguments, const QString& database, TCliOutput& out)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Imports hand-history files into the rake database in one run. A folder contributes\n"
                       "its HH*.txt files in the order the window lists them; a file contributes itself."));
    AddSelectionOptions(parser);
    parser.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("A hand-history folder or file."),
                                 QStringLiteral("PATH..."));
    if (!ParseCommand(parser, arguments, out))
        return 0;
    if (parser.positionalArguments().isEmpty())
        throw TCliUsage{QStringLiteral("import needs at least one PATH")};
    const TEntrySelection selection = ReadSelectionOptions(parser);
    QStringList entries = LocalPaths(parser.positionalArguments(), selection);
    std::unique_ptr<TRakeDatabase> db = OpenCommandDatabase(parser, database, TDatabaseUse::Import);
    if (selection.NewOnly) {
        const TImportLog log(*db);
        entries.removeIf([&log](const QString& path) { return !log.IsNewLocal(path); });
    }
    return RunCliImport(*db, entries, QStringLiteral("Loading"), LoadLocalEntry, out);
}

int RemoteCommand(const QStringList& arguments, const QString& database, TCliOutput& out)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "list: prints the server's hand-history entries, one a line, in the server's order.\n"
        "import: fetches and imports the named entries, or else every listed entry that passes\n"
        "the filter and dates, in list order, in one run.\n"
        "The password comes from --password-file, else KESTRUM_API_PASSWORD, else the one the\n"
        "window remembers."));
    parser.addOption({QStringLiteral("server"), QStringLiteral("Server address (default: the window's)."),
                      QStringLiteral("ADDRESS")});
    parser.addOption({QStringLiteral("port"), QStringLiteral("File API port (default: the window's)."),
                      QStringLiteral("PORT")});
    parser.addOption({QStringLiteral("api-path"), QStringLiteral("File API path (default: the window's)."),
                      QStringLiteral("PATH")});
    parser.addOption({QStringLiteral("password-file"),
                      QStringLiteral("A file whose first line is the password."), QStringLiteral("FILE")});
    AddSelectionOptions(parser);
    parser.addPositionalArgument(QStringLiteral("list|import"), QStringLiteral("What to do."));
    parser.addPositionalArgument(QStringLiteral("ENTRY"), QStringLiteral("Entries to import (import only)."),
                                 QStringLiteral("[ENTRY...]"));
    if (!ParseCommand(parser, arguments, out))
        return 0;
    QStringList positional = parser.positionalArguments();
    const QString action = positional.isEmpty() ? QString() : positional.takeFirst();
    const bool selecting = parser.isSet(QStringLiteral("filter")) || parser.isSet(QStringLiteral("since")) ||
                           parser.isSet(QStringLiteral("until")) || parser.isSet(QStringLiteral("new"));
    if (action != QLatin1String("list") && action != QLatin1String("import"))
        throw TCliUsage{QStringLiteral("remote needs list or import")};
    if (action == QLatin1String("list") && (!positional.isEmpty() || selecting))
        throw TCliUsage{QStringLiteral("remote list takes no entries, --filter, --since, --until or --new")};
    const TEntrySelection selection = ReadSelectionOptions(parser);

    // A failed check or list is a TError: the message on stderr, exit code 1.
    const TConnectionFields fields = RemoteFields(parser, out);
    CheckConnectionFields(fields);
    TApiClient client;
    QStringList entries = positional;
    if (action == QLatin1String("list") || entries.isEmpty()) {
        const QStringList listed = FetchRemoteList(client, fields);
        if (action == QLatin1String("list")) {
            for (const QString& entry : listed)
                out.Out(entry);
            return 0;
        }
        for (const QString& entry : listed)
            if (selection.Accepts(entry))
                entries << entry;
    }
    std::unique_ptr<TRakeDatabase> db = OpenCommandDatabase(parser, database, TDatabaseUse::Import);
    if (selection.NewOnly) {
        const TImportLog log(*db);
        entries.removeIf(
            [&](const QString& entry) { return !log.IsNewRemote(RemoteEntrySource(fields, entry), entry); });
    }
    return RunCliImport(
        *db, entries, QStringLiteral("Retrieving"),
        [&](const QString& entry) { return FetchRemoteEntry(client, fields, entry); }, out);
}
