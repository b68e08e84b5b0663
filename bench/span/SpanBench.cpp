// A month's reports on archives of different lengths: the month costs what it
// holds, not what the archive holds. June 2025 of a one-year archive of
// 1,000,000 hands beside the same month of a four-year archive of 4,000,000
// (about 83,000 hands in the month in both), through the Reports page's own
// runner and through the sqlite3 shell. With a third folder holding a bigger
// archive (made by bench_browser or bench_reports, 10,000,000 hands), the month
// by player there too, after giving the file its date index as the next import
// run would.
//
//   bench_span FOLDER [BIG_FOLDER]
#include "BenchRakeDb.h"
#include "db/RakeDatabase.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportRunner.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

using namespace BenchRakeDb;

namespace {
constexpr int Runs = 3;
const TReportLimit MonthStart{true, QDate(2025, 6, 1), QTime(0, 0, 0)};
const TReportLimit MonthEnd{true, QDate(2025, 6, 30), QTime(23, 59, 59)};

struct TTimes
{
    double Ours = 0;
    double Shell = 0;
    int Rows = 0;
};

QString PreparedArchive(const QString& folder, int hands, const QString& firstDay, int days)
{
    QDir().mkpath(folder);
    if (!QFile::exists(QDir(folder).filePath(TRakeDatabase::DatabaseFileName)))
        std::printf("generated %d hands from %s over %d days in %.1f s\n", hands, qPrintable(firstDay), days,
                    Generate(folder, hands, firstDay, days));
    return folder;
}

// The file's date index, made as an import run makes it for an older file.
void GiveDateIndex(const QString& folder)
{
    TRakeDatabase database(folder);
    database.OpenExistingRakeDatabase();
    if (database.HasIndex(QStringLiteral("MasterDateTime")))
        return;
    const double start = Now();
    database.Execute(QLatin1String(TRakeDatabase::MasterDateIndexSQL));
    std::printf("date index made in %.1f s\n", Now() - start);
}

TTimes MonthReport(const QString& folder, int item)
{
    const QString sql = BuildReportSQL(item, MonthStart, MonthEnd);
    const QString file = QDir(folder).filePath(TRakeDatabase::DatabaseFileName);
    TRakeDatabase database(folder);
    database.OpenExistingRakeDatabase();
    TReportRunner runner(database, [](const QString&) {});
    RunShell(file, sql + ";\n"); // warm the page cache
    QList<double> ours, shell;
    TTimes times;
    for (int run = 0; run < Runs; ++run) {
        shell << RunShell(file, sql + ";\n");
        const double start = Now();
        runner.Load(sql);
        runner.ReportModel.data(runner.ReportModel.index(0, 0)).toString();
        ours << Now() - start;
        times.Rows = runner.ReportClientDataSet.RowCount();
    }
    times.Ours = Median(ours);
    times.Shell = Median(shell);
    return times;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_span FOLDER [BIG_FOLDER]\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString year =
        PreparedArchive(root + QStringLiteral("/year"), 1000000, QStringLiteral("2025-01-01"), 365);
    const QString four =
        PreparedArchive(root + QStringLiteral("/four"), 4000000, QStringLiteral("2022-01-01"), 1461);
    const QStringList items = ReportItemTexts();
    for (const char* name : {"Proportional Rake by Player", "Total Rake"}) {
        const int item = int(items.indexOf(QLatin1String(name)));
        const TTimes a = MonthReport(year, item), b = MonthReport(four, item);
        std::printf("\"%s\", June 2025 (%d rows; %d in the longer archive)\n", name, a.Rows, b.Rows);
        std::printf("  1,000,000 hands: ours %.3f s, sqlite3 shell %.3f s\n", a.Ours, a.Shell);
        std::printf("  4,000,000 hands: ours %.3f s, sqlite3 shell %.3f s\n", b.Ours, b.Shell);
        std::printf("  longer / shorter: ours %.2f, shell %.2f (goal <= 1.30)\n", b.Ours / a.Ours,
                    b.Shell / a.Shell);
    }
    if (argc > 2) {
        const QString big = QString::fromLocal8Bit(argv[2]);
        GiveDateIndex(big);
        const int item = int(items.indexOf(QLatin1String("Proportional Rake by Player")));
        const TTimes t = MonthReport(big, item);
        std::printf(
            "\"Proportional Rake by Player\", June 2025, %s: %d rows, ours %.3f s, sqlite3 shell %.3f s "
            "(goal <= 5 s)\n",
            qPrintable(big), t.Rows, t.Ours, t.Shell);
    }
    std::printf("peak memory: %.0f MiB\n", PeakSelfMiB());
    return 0;
}
