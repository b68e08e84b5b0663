// "Proportional Rake by Player & Table" over 1,000,000 hands and 6,000,000
// shares, Load to the first cell formatted for the grid, beside the sqlite3
// shell running the same statement; then the CSV export of a 100,000-row
// result beside the shell's own csv mode writing the same statement to a file.
#include "BenchRakeDb.h"
#include "db/RakeDatabase.h"
#include "reports/CsvWriter.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <sqlite3.h>

using namespace BenchRakeDb;

namespace {
// The statement stepped to its end on the same connection, nothing kept.
double BareSteps(TRakeDatabase& database, const QString& sql)
{
    const double start = Now();
    auto statement = database.Prepare(sql);
    while (statement->Step() == SQLITE_ROW) {
    }
    return Now() - start;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    constexpr int Hands = 1000000;
    constexpr int Runs = 3;
    const QString folder = PreparedDatabaseFolder(argc, argv, Hands);
    const QString file = QDir(folder).filePath(TRakeDatabase::DatabaseFileName);

    TRakeDatabase database(folder);
    database.OpenRakeDatabase();
    TReportRunner runner(database, [](const QString&) {});
    auto firstCell = [&] { return runner.ReportModel.data(runner.ReportModel.index(0, 0)).toString(); };

    // The grouped report.
    const QString report = BuildReportSQL(4, {}, {});
    RunShell(file, report + ";\n"); // warm the page cache
    // Read now: a child forked later starts with this process's memory counted.
    const double shellMiB = PeakChildrenMiB();
    QList<double> shell, ours, bare;
    int reportRows = 0;
    for (int run = 0; run < Runs; ++run) {
        shell << RunShell(file, report + ";\n");
        bare << BareSteps(database, report);
        const double start = Now();
        runner.Load(report);
        firstCell();
        ours << Now() - start;
        reportRows = runner.ReportClientDataSet.RowCount();
    }
    const double s = Median(shell), o = Median(ours);
    std::printf("report \"%s\": %d rows\n", qPrintable(ReportItemTexts()[4]), reportRows);
    std::printf("  sqlite3 shell: %.3f s, Load to first cell: %.3f s, ratio %.2f (goal <= 1.20)\n", s, o,
                o / s);
    std::printf("  the engine alone in this process, stepped without our vector-state clear: %.3f s\n",
                Median(bare));

    // The export.
    const QString exported = QStringLiteral("SELECT * FROM Master WHERE Hand <= 100000");
    const QString shellCsv = QDir(folder).filePath(QStringLiteral("shell.csv"));
    const QString oursCsv = QDir(folder).filePath(QStringLiteral("ours.csv"));
    const QString csvScript =
        QStringLiteral(".mode csv\n.headers on\n.once ") + shellCsv + "\n" + exported + ";\n";
    QList<double> shellExport, oursExport, oursLoadExport;
    for (int run = 0; run < Runs; ++run) {
        shellExport << RunShell(file, csvScript);
        const double start = Now();
        runner.Load(exported);
        const double loaded = Now();
        ExportCsvFile(runner.ReportClientDataSet, oursCsv, QLocale::c());
        oursExport << Now() - loaded;
        oursLoadExport << Now() - start;
    }
    const double se = Median(shellExport), oe = Median(oursExport), ole = Median(oursLoadExport);
    std::printf("export of %d rows (%lld bytes; shell wrote %lld)\n", runner.ReportClientDataSet.RowCount(),
                QFileInfo(oursCsv).size(), QFileInfo(shellCsv).size());
    std::printf("  sqlite3 shell .mode csv (query and write): %.3f s\n", se);
    std::printf("  ours, export alone: %.3f s, ratio %.2f (goal <= 2.00)\n", oe, oe / se);
    std::printf("  ours, Load and export: %.3f s, ratio %.2f\n", ole, ole / se);
    std::printf("peak memory: ours %.0f MiB, shell %.0f MiB\n", PeakSelfMiB(), shellMiB);
    return 0;
}
