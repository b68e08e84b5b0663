// bench_import CORPUS OUT_DB: the bare import of a folder, as the window's
// import run does it (the folder listed as the window lists it, every entry
// loaded and imported in one transaction) with no window around it. Prints
// the processor time of the run (all threads) and its wall time, for
// bench/import/run.sh to set beside the floor.
#include "CpuTime.h"
#include "db/RakeDatabase.h"
#include "import/ImportRun.h"
#include "import/LocalEntry.h"
#include "sources/LocalFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: bench_import CORPUS OUT_DB\n");
        return 2;
    }
    const QString folder = args[1];
    TFileLists lists;
    ListLocalFolder(folder, lists);
    QStringList paths;
    for (const QString& entry : lists.Both)
        paths << LocalEntryPath(folder, entry);
    const QFileInfo out(args[2]);
    TRakeDatabase database(out.absolutePath(), out.fileName());
    database.OpenRakeDatabase();

    struct TBenchFrontEnd : TImportFrontEnd
    {
        void SetStatus(const QString&) override {}
        void ShowError(const QString& text) override { qFatal("%s", qPrintable(text)); }
        void CloseViews() override {}
        void ShowPlain(const QString&) override {}
    } frontEnd;
    QElapsedTimer wall;
    wall.start();
    const double cpu = ProcessCpuSeconds();
    const int raked = RunImport(database, paths, QStringLiteral("Loading"), LoadLocalEntry, frontEnd);
    std::printf("import cpu %.3f s wall %.3f s (%lld files, %d raked hands)\n", ProcessCpuSeconds() - cpu,
                double(wall.nsecsElapsed()) / 1e9, static_cast<long long>(paths.size()), raked);
    return 0;
}
