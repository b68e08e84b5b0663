// bench_status_line [COUNT]: what one new status text costs the window's
// thread: the text set and the line repainted at once, as an import does for
// every file, COUNT times with a new text each time, in the real window. Run
// it under Xvfb with the accessibility bus and a listening client to see what
// a screen reader's company adds. Prints the processor time per text, of the
// window's thread and of the whole process.
#include "app/Controls.h"
#include "app/HandHistoryPage.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {
double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}
double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    QTemporaryDir dir;
    TQtMessageBoxes boxes;
    TMainFormPlaces places;
    places.DatabaseFolder = dir.path();
    places.SettingsFile = dir.path() + QStringLiteral("/Kestrum.ini");
    TMainForm form(boxes, places);
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    QTest::qWait(500);
    QLabel* line = form.HandHistoryPage().HHStatus;
    const double thread = ThreadSeconds();
    const double process = ProcessSeconds();
    for (int i = 1; i <= count; ++i)
        SetStatus(line, QStringLiteral("Loading (%1 of %2):  HH2026-11-%3 Table %4.txt")
                            .arg(i)
                            .arg(count)
                            .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                            .arg(i % 40));
    const double threadEach = (ThreadSeconds() - thread) / count;
    const double processEach = (ProcessSeconds() - process) / count;
    QTest::qWait(1000); // what the bus asks back is answered here, not counted
    std::printf("per status text: window thread %.1f us, process %.1f us\n", threadEach * 1e6,
                processEach * 1e6);
    return 0;
}
