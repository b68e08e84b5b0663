// Opens one file as the program does and prints how long it took, for a whole
// run under /usr/bin/time -v (peak memory):
//   bench_open_file view FILE     read it and show it in the viewer
//   bench_open_file import FILE   read it and import it into a new database
#include "db/RakeDatabase.h"
#include "import/HandParser.h"
#include "import/HandWriter.h"
#include "import/StringList2.h"
#include "platform/SettingsStore.h"
#include "viewer/HHView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "view") != 0 && std::strcmp(argv[1], "import") != 0)) {
        std::fprintf(stderr, "usage: %s view|import FILE\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    TStringList2 lines;
    lines.LoadFromFile(path);
    const double loadMs = timer.nsecsElapsed() / 1e6;
    if (std::strcmp(argv[1], "view") == 0) {
        TSettingsStore store(dir.filePath(QStringLiteral("Kestrum.ini")));
        THHViewForm viewer(store, nullptr);
        viewer.LoadLines(path, lines);
        viewer.show();
        QCoreApplication::processEvents();
        viewer.HHViewer->viewport()->repaint();
        std::printf("lines %lld, load %.0f ms, load and show %.0f ms\n", static_cast<long long>(lines.size()),
                    loadMs, timer.nsecsElapsed() / 1e6);
        return 0;
    }
    TRakeDatabase database(dir.path());
    database.OpenRakeDatabase();
    database.StartTransaction();
    const int hands = ImportHands(database, lines);
    database.Commit();
    std::printf("lines %lld, hands %d, load %.0f ms, load and import %.0f ms\n",
                static_cast<long long>(lines.size()), hands, loadMs, timer.nsecsElapsed() / 1e6);
    return 0;
}
