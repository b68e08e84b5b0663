// Times opening the viewer on a large hand-history file and one "Next" that
// finds nothing, beside the floor: reading the same file into a QStringList.
#include "import/StringList2.h"
#include "platform/SettingsStore.h"
#include "viewer/HHFunctions.h"
#include "viewer/HHView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int LineCount = 1'000'000;
constexpr int Runs = 5;

// Lines shaped like a server's hand history: headers, seats, actions, boards, chat.
QByteArray GenerateFile(int lineCount)
{
    const char* names[] = {"Alice", "Bob_77", "Chloë", "DealerDan", "Émile", "Frank Z", "Gwen", "Håkon"};
    QRandomGenerator random(20240101);
    QByteArray out;
    out.reserve(qsizetype(lineCount) * 62);
    int hand = 100000;
    for (int i = 0; i < lineCount; ++i) {
        const char* name = names[random.bounded(8)];
        switch (i % 16) {
        case 0:
            out += "Hand #" + QByteArray::number(++hand) + " - 2024-03-" + QByteArray::number(1 + i % 28) +
                   " 18:" + QByteArray::number(10 + i % 50) + ":07 Holdem (No Limit) - Table Kestrel Bay 3";
            break;
        case 1:
            out += "Game: No Limit Hold'em (0.50/1.00) - Blinds 0.50/1.00 - Table Kestrel Bay 3";
            break;
        case 2:
        case 3:
        case 4:
            out += "Seat " + QByteArray::number(i % 16 - 1) + ": " + name + " (" +
                   QByteArray::number(random.bounded(50, 400)) + ".25) with stack in play";
            break;
        case 9:
            out += "** Flop ** [Ah Kd 7c] - pot is now " + QByteArray::number(random.bounded(3, 90)) + ".50";
            break;
        case 13:
            out += QByteArray(name) + ": \"nice hand, sir: really\" - said at the table";
            break;
        case 15:
            out += "Rake (" + QByteArray::number(random.bounded(1, 5)) +
                   ".25) Pot (48.00) Players (Alice, Bob_77)";
            break;
        default:
            out += QByteArray(name) + " raises to " + QByteArray::number(random.bounded(2, 80)) +
                   ".00 and is all-in with a side pot (main pot closed)";
        }
        out += "\r\n";
    }
    return out;
}

QStringList ReadBySplit(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
}

QStringList ReadByTextStream(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QTextStream stream(&file);
    QStringList lines;
    QString line;
    while (stream.readLineInto(&line))
        lines.append(line);
    return lines;
}

QStringList ReadByFileLines(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QStringList lines;
    while (!file.atEnd())
        lines.append(QString::fromUtf8(file.readLine()).chopped(2));
    return lines;
}

const std::function<QStringList(const QString&)> FloorReads[] = {ReadBySplit, ReadByTextStream,
                                                                 ReadByFileLines};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long PeakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HH20240301 Kestrel Bay 3.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(GenerateFile(LineCount)) < 0)
            return 1;
    }
    std::printf("file: %d lines, %.1f MB\n", LineCount, QFile(path).size() / 1e6);

    TSettingsStore store(dir.filePath(QStringLiteral("Kestrum.ini")));
    QWidget mainWindow;
    mainWindow.resize(800, 600);
    mainWindow.show();
    THHViewForm viewer(store, &mainWindow);
    int beeps = 0;
    viewer.SetBeepSound([&] { ++beeps; });

    std::vector<double> floorMs, openMs, nextMs, findMs, loadMs, fillMs, closeMs;
    QElapsedTimer timer;
    for (int run = 0; run < Runs; ++run) {
        // The floor is the fastest of three plain ways of reading the file into lines.
        double floorRun = 1e300;
        for (const auto& read : FloorReads) {
            timer.start();
            const QStringList lines = read(path);
            floorRun = std::min(floorRun, timer.nsecsElapsed() / 1e6);
            if (lines.size() < LineCount)
                return 1;
        }
        floorMs.push_back(floorRun);
        {
            timer.start();
            TStringList2 lines;
            lines.LoadFromFile(path);
            loadMs.push_back(timer.nsecsElapsed() / 1e6);
            viewer.LoadLines(QStringLiteral("HH20240301 Kestrel Bay 3.txt"), lines);
            fillMs.push_back(timer.nsecsElapsed() / 1e6 - loadMs.back());
            viewer.show();
            QCoreApplication::processEvents();
            viewer.HHViewer->viewport()->repaint();
            openMs.push_back(timer.nsecsElapsed() / 1e6);
            if (viewer.Lines().size() < LineCount)
                return 1;

            viewer.SearchBox->setText(QStringLiteral("Nowhere In This File"));
            timer.start();
            viewer.NextBtnClick();
            nextMs.push_back(timer.nsecsElapsed() / 1e6);

            timer.start();
            const TFindResult found = FindNext(viewer.Lines(), -1, QStringLiteral("Nowhere In This File"));
            findMs.push_back(timer.nsecsElapsed() / 1e6);
            if (found.Line != -1)
                return 1;
            timer.start();
            viewer.reject(); // the real close: saves the size settings, releases the text
            closeMs.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    const double floor = Median(floorMs), open = Median(openMs), next = Median(nextMs);
    std::printf("read into QStringList (floor): %8.1f ms\n", floor);
    std::printf("open viewer (load + shown):    %8.1f ms   ratio %.2f (goal <= 1.50)\n", open, open / floor);
    std::printf("  of which TStringList2 load:  %8.1f ms, filling the list %.1f ms\n", Median(loadMs),
                Median(fillMs));
    std::printf("Next finding nothing (window): %8.1f ms   goal < 200 ms, beeps %d of %d\n", next, beeps,
                Runs);
    std::printf("FindNext alone:                %8.1f ms\n", Median(findMs));
    std::printf("close (not in the open figure):%8.1f ms\n", Median(closeMs));
    std::printf("peak memory: %ld KiB\n", PeakMemoryKiB());
    return 0;
}
