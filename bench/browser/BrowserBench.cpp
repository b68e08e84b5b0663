// Open of the database browser on 1,000,000 hands and 6,000,000 shares, from
// the Open command to the first cell formatted for the grid, beside the
// sqlite3 shell running the same two statements into /dev/null.
//
//   bench_browser [folder [hands [runs]]]
//
// The folder keeps the generated database between runs; hands (default
// 1,000,000) is used only when the folder holds none yet.
#include "BenchRakeDb.h"
#include "db/RakeDatabase.h"
#include "reports/DatabaseBrowser.h"

#include <QDir>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace BenchRakeDb;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    const int Hands = argc > 2 ? std::atoi(argv[2]) : 1000000;
    const int Runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    const QString folder = PreparedDatabaseFolder(argc, argv, Hands);
    const QString file = QDir(folder).filePath(TRakeDatabase::DatabaseFileName);

    const QString script = QStringLiteral("SELECT * FROM Master ORDER BY Hand;\n") +
                           QLatin1String(TDatabaseBrowser::DetailSQL) + QLatin1Char('\n');
    RunShell(file, script); // the file into the page cache for both
    // Read now: a child forked later starts with this process's memory counted.
    const double shellMiB = PeakChildrenMiB();
    const double baseMiB = PeakSelfMiB();

    QList<double> shell, ours, moves;
    int masterRows = 0, detailRows = 0;
    for (int run = 0; run < Runs; ++run) {
        shell << RunShell(file, script);

        TRakeDatabase database(folder);
        database.OpenRakeDatabase();
        TDatabaseBrowser browser(
            database, [](const QString&) {}, [](const QString&) {});
        browser.SetStatements();
        const double start = Now();
        browser.OpenViews();
        const QString first = browser.MasterModel.data(browser.MasterModel.index(0, 0)).toString();
        ours << Now() - start;
        masterRows = browser.MasterClientDataSet.RowCount();
        detailRows = browser.DetailClientDataSet.Table()->RowCount();

        // Scrolling: each move follows with the detail rows and formats a screen of cells.
        const double scrollStart = Now();
        constexpr int Moves = 20000;
        qint64 characters = first.size();
        for (int r = 0; r < Moves; ++r) {
            browser.MasterClientDataSet.MoveTo((r * 7919) % masterRows);
            for (int c = 0; c < browser.MasterModel.columnCount(); ++c)
                characters +=
                    browser.MasterModel.DisplayText(browser.MasterClientDataSet.CurrentRow(), c).size();
            for (int d = 0; d < browser.DetailClientDataSet.RowCount(); ++d)
                characters += browser.DetailModel.DisplayText(d, 1).size();
        }
        moves << (Now() - scrollStart) / Moves * 1e6;
        if (characters == 0)
            std::printf("nothing shown\n");
    }
    const double s = Median(shell), o = Median(ours);
    std::printf("rows: Master %d, Detail %d\n", masterRows, detailRows);
    std::printf("sqlite3 shell, both SELECTs to /dev/null: %.3f s (median of %d)\n", s, Runs);
    std::printf("OpenViews to first cell shown:           %.3f s (median of %d)\n", o, Runs);
    std::printf("ratio ours/shell: %.2f (goal <= 2.00)\n", o / s);
    std::printf("peak memory: ours %.0f MiB (%.0f MiB before Open), shell %.0f MiB\n", PeakSelfMiB(), baseMiB,
                shellMiB);
    std::printf("one master move with detail follow and a screen of cells: %.1f us\n", Median(moves));
    return 0;
}
