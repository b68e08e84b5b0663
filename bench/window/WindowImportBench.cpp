// bench_window_import [hands]: the same generated folder imported twice into
// fresh files, once bare (load, parse and write in one transaction, as the
// import benchmark does) and once through "Import Selected Files" of the real
// window (offscreen), with its status repaints. Prints both and the ratio.
#include "Corpus.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "db/RakeDatabase.h"
#include "import/HandParser.h"
#include "import/StringList2.h"
#include "FixedPicker.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
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


double Bare(const QVector<TCorpusFile>& files, const QString& dbFolder, int& raked)
{
    TRakeDatabase db(dbFolder);
    db.OpenRakeDatabase();
    QElapsedTimer timer;
    timer.start();
    db.StartTransaction();
    raked = 0;
    for (const auto& file : files) {
        TStringList2 lines;
        lines.LoadFromFile(file.Path);
        raked += ImportHands(db, lines);
    }
    db.Commit();
    return timer.nsecsElapsed() / 1e9;
}

double ThroughWindow(const QString& folder, const QString& dbFolder, QString& message)
{
    TSilentBoxes boxes;
    TMainFormPlaces places;
    places.DatabaseFolder = dbFolder;
    places.SettingsFile = dbFolder + QStringLiteral("/Kestrum.ini");
    places.NewFolderPicker = [folder] { return std::make_unique<TFixedPicker>(folder); };
    TMainForm form(boxes, places);
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    form.ShowBoth->click();
    form.RefreshBtn->click();
    form.HHLocalList->selectAll();
    QElapsedTimer timer;
    timer.start();
    form.ImportBtn->click();
    const double seconds = timer.nsecsElapsed() / 1e9;
    message = boxes.Last;
    return seconds;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TCorpusOptions options;
    if (argc > 1)
        options.Hands = QString::fromLocal8Bit(argv[1]).toInt();
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("hh"));
    const QVector<TCorpusFile> files = WriteCorpus(folder, options);
    std::printf("corpus: %d hands in %lld files\n", options.Hands, static_cast<long long>(files.size()));
    // Warm the file cache so neither run pays for the first read.
    for (const auto& file : files) {
        TStringList2 lines;
        lines.LoadFromFile(file.Path);
    }
    int raked = 0;
    double bare = 1e9, window = 1e9;
    QString message;
    for (int round = 0; round < 3; ++round) {
        const QString a = dir.filePath(QStringLiteral("bare%1").arg(round));
        const QString b = dir.filePath(QStringLiteral("window%1").arg(round));
        QDir().mkpath(a);
        QDir().mkpath(b);
        bare = std::min(bare, Bare(files, a, raked));
        window = std::min(window, ThroughWindow(folder, b, message));
    }
    std::printf("bare import:       %.3f s  (%.0f hands/s, %d raked)\n", bare, options.Hands / bare, raked);
    std::printf("through the window: %.3f s  (%.0f hands/s; \"%s\")\n", window, options.Hands / window,
                qPrintable(message));
    std::printf("ratio window/bare: %.2f (goal <= 1.10)\n", window / bare);
    return 0;
}
