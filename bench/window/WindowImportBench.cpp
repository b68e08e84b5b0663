// bench_window_import CORPUS OUT_FOLDER [--real-box]: the import of a folder
// through the real window (offscreen): the folder listed with "Get Hand
// History List", every file selected, "Import Selected Files" pressed, with
// the status line repainted for every file as a user sees it. Prints the
// processor time from the press to the count box (all threads) and the wall
// time, for bench/import/run.sh to set beside the floor. With --real-box the
// count comes in the window's own message box, and the clock stops when it is
// shown (then it is closed), as a user or a screen reader meets it. The
// database is OUT_FOLDER/Kestrum2.db3.
#include "CpuTime.h"
#include "FixedPicker.h"
#include "app/HandHistoryPage.h"
#include "app/LocalFileSource.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {
class TSilentBoxes : public TMessageBoxes
{
public:
    QString Last;
    void Error(const QString& t) override { Last = t; }
    void Information(const QString& t) override { Last = t; }
    bool Confirm(const QString&) override { return true; }
    void Plain(const QString& t) override { Last = t; }
    void UnhandledError(const QString& t) override { Last = t; }
};
} // namespace

int main(int argc, char** argv)
{
    // Offscreen unless told otherwise (QT_QPA_PLATFORM=xcb under Xvfb draws as on a desktop).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool realBox = argc == 4 && QByteArray(argv[3]) == "--real-box";
    if (argc != 3 && !realBox) {
        std::fprintf(stderr, "usage: bench_window_import CORPUS OUT_FOLDER [--real-box]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    TSilentBoxes silent;
    TQtMessageBoxes real;
    TMainFormPlaces places;
    places.DatabaseFolder = out;
    places.SettingsFile = out + QStringLiteral("/Kestrum.ini");
    places.NewFolderPicker = [folder] { return std::make_unique<TFixedPicker>(folder); };
    TMainForm form(realBox ? static_cast<TMessageBoxes&>(real) : silent, places);
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    form.HandHistoryPage().ShowBoth->click();
    form.HandHistoryPage().RefreshBtn->click();
    form.HandHistoryPage().LocalPage().HHLocalList->selectAll();
    QElapsedTimer wall;
    wall.start();
    const double cpu = ProcessCpuSeconds();
    // The clock stops when the count box is shown; the box is closed at once.
    double boxCpu = -1, boxWall = -1;
    QString boxText;
    struct TBoxWatch : QObject
    {
        std::function<void(QMessageBox*)> Shown;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Show)
                if (auto* box = qobject_cast<QMessageBox*>(watched))
                    Shown(box);
            return false;
        }
    } watch;
    watch.Shown = [&](QMessageBox* box) {
        boxCpu = ProcessCpuSeconds() - cpu;
        boxWall = double(wall.nsecsElapsed()) / 1e9;
        boxText = box->text();
        QTimer::singleShot(0, box, &QMessageBox::accept);
    };
    if (realBox)
        app.installEventFilter(&watch);
    form.HandHistoryPage().ImportBtn->click();
    if (!realBox) {
        boxCpu = ProcessCpuSeconds() - cpu;
        boxWall = double(wall.nsecsElapsed()) / 1e9;
        boxText = silent.Last;
    }
    std::printf("window cpu %.3f s wall %.3f s (%d files, \"%s\")\n", boxCpu, boxWall,
                form.HandHistoryPage().LocalPage().HHLocalList->count(), qPrintable(boxText));
    return 0;
}
