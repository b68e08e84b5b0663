// Open of the database browser on 1,000,000 hands and 6,000,000 shares, from
// the Open command to the first cell formatted for the grid, beside the
// sqlite3 shell running the same two statements into /dev/null.
//
//   bench_browser [folder [hands [runs]]]
//
// The folder keeps the generated database between runs; hands (default
// 1,000,000) is used only when the folder holds none yet.
//
// Peak memory is the process's own (the first Open is the peak; later runs
// reuse the freed memory). To set it beside an older build, build that
// commit's bench_browser apart and run both on the same folder, one after the
// other, e.g.
//   git archive <commit> | tar -x -C /tmp/old
//   cmake -S /tmp/old -B /tmp/old/build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
//   cmake --build /tmp/old/build --target bench_browser
// On a shared machine compare the CPU seconds and the ratio to the shell
// rather than the wall seconds alone.
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

    QList<double> shell, ours, oursCpu, moves;
    int masterRows = 0, detailRows = 0;
    qint64 heldBytes = 0;
    for (int run = 0; run < Runs; ++run) {
        shell << RunShell(file, script);

        TRakeDatabase database(folder);
        database.OpenRakeDatabase();
        TDatabaseBrowser browser(
            database, [](const QString&) {}, [](const QString&) {});
        browser.SetStatements();
        const double start = Now(), startCpu = CpuSeconds();
        browser.OpenViews();
        const QString first = browser.MasterModel.data(browser.MasterModel.index(0, 0)).toString();
        ours << Now() - start;
        oursCpu << CpuSeconds() - startCpu;
        masterRows = browser.MasterClientDataSet.RowCount();
        detailRows = browser.DetailClientDataSet.Table()->RowCount();
        heldBytes = browser.MasterClientDataSet.Table()->HeldBytes() +
                    browser.DetailClientDataSet.Table()->HeldBytes();

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
    std::printf("OpenViews to first cell shown:           %.3f s (median of %d), CPU %.3f s\n", o, Runs,
                Median(oursCpu));
    std::printf("ratio ours/shell: %.2f (goal <= 2.00)\n", o / s);
    std::printf("peak memory: ours %.0f MiB (%.0f MiB before Open), shell %.0f MiB\n", PeakSelfMiB(), baseMiB,
                shellMiB);
    // 8 bytes a cell is what the tables held before they were compact, before
    // the doubling of their vectors and the key index's sort.
    const double wideMiB = (double(masterRows) * 7 + double(detailRows) * 3) * 8 / 1048576;
    std::printf("held by the two tables: %.0f MiB; at 8 bytes a cell: %.0f MiB; ratio %.2f\n",
                heldBytes / 1048576.0, wideMiB, heldBytes / 1048576.0 / wideMiB);
    std::printf("one master move with detail follow and a screen of cells: %.1f us\n", Median(moves));
    return 0;
}
