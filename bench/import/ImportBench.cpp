// bench_import [hands] [seed]: the import of a generated folder against the
// floor of reading the same bytes and writing the same rows without parsing.
#include "Corpus.h"
#include "db/RakeDatabase.h"
#include "import/HandParser.h"
#include "import/StringList2.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sqlite3.h>

namespace {

const QString MasterSQL = QString::fromLatin1(TRakeDatabase::MasterReplaceSQL);
const QString DetailSQL = QString::fromLatin1(TRakeDatabase::DetailReplaceSQL);

void BindMaster(TStatement& master, const TExpectedHand& h)
{
    master.Bind_Int(1, h.Hand);
    master.Bind_Str16(2, h.TableName);
    master.Bind_Str16(3, h.Date);
    master.Bind_Str16(4, h.Time);
    master.Bind_Double(5, h.Rake);
    master.Bind_Int(6, h.Dealt);
    master.Bind_Double(7, h.AvgShare);
}

void BindDetail(TStatement& detail, const TExpectedHand& h, const TExpectedShare& s)
{
    detail.Bind_Int(1, h.Hand);
    detail.Bind_Str16(2, s.Player);
    detail.Bind_Double(3, s.Share);
}

qint64 ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll().size();
}

struct TResult
{
    double Seconds = 0; // wall clock
    double Cpu = 0;     // this thread's processor time: steadier on a shared machine
    qint64 Rows = 0;
};

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// One run into a fresh database file, in one transaction.
TResult Timed(const std::function<void(TRakeDatabase&)>& run)
{
    QTemporaryDir dir;
    TRakeDatabase database(dir.path());
    database.OpenRakeDatabase();
    QElapsedTimer timer;
    timer.start();
    const double cpu = ThreadCpuSeconds();
    database.StartTransaction();
    run(database);
    database.Commit();
    TResult result;
    result.Seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    result.Cpu = ThreadCpuSeconds() - cpu;
    auto count = database.Prepare(
        QStringLiteral("SELECT (SELECT count(*) FROM Master) + (SELECT count(*) FROM Detail)"));
    count->Step();
    result.Rows = sqlite3_column_int64(count->Handle(), 0);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    TCorpusOptions options;
    options.Hands = args.size() > 1 ? args[1].toInt() : 200000;
    options.Seed = args.size() > 2 ? args[2].toUInt() : 1;
    if (options.Hands <= 0) {
        std::fprintf(stderr, "usage: bench_import [hands] [seed]\n");
        return 2;
    }
    QTemporaryDir corpusDir;
    QElapsedTimer timer;
    timer.start();
    // KESTRUM_BENCH_CORPUS keeps the corpus in that folder, for timing whole programs on it.
    const QString kept = qEnvironmentVariable("KESTRUM_BENCH_CORPUS");
    if (!kept.isEmpty())
        QDir().mkpath(kept);
    const QVector<TCorpusFile> files = WriteCorpus(kept.isEmpty() ? corpusDir.path() : kept, options);
    qint64 bytes = 0;
    qint64 raked = 0;
    for (const TCorpusFile& f : files) {
        bytes += ReadBytes(f.Path); // also warms the page cache for every run alike
        raked += f.Expected.size();
    }
    std::printf("corpus: %d hands (%lld raked) in %lld files, %.1f MB, generated in %.1f s\n", options.Hands,
                static_cast<long long>(raked), static_cast<long long>(files.size()), bytes / 1e6,
                timer.nsecsElapsed() / 1e9);

    int written = 0;
    qint64 readBytes = 0;
    const auto import = [&](TRakeDatabase& db) {
        written = 0;
        // A list per file, made and released as the program's import run does.
        for (const TCorpusFile& f : files) {
            TStringList2 lines;
            lines.LoadFromFile(f.Path);
            written += ImportHands(db, lines);
        }
    };
    // The same bytes read and the same rows written with the same calls, one
    // fresh Prepare of each statement per hand, and no parsing.
    const auto floor = [&](TRakeDatabase& db) {
        readBytes = 0;
        for (const TCorpusFile& f : files) {
            readBytes += ReadBytes(f.Path);
            for (const TExpectedHand& h : f.Expected) {
                {
                    const auto master = db.Prepare(MasterSQL);
                    BindMaster(*master, h);
                    master->Step();
                }
                const auto detail = db.Prepare(DetailSQL);
                for (const TExpectedShare& s : h.Shares) {
                    BindDetail(*detail, h, s);
                    detail->StepAndReset();
                }
            }
        }
    };
    // For the breakdown: loading alone, no database work.
    const auto loadOnly = [&](TRakeDatabase&) {
        for (const TCorpusFile& f : files) {
            TStringList2 lines;
            lines.LoadFromFile(f.Path);
        }
    };
    const auto preparedOnce = [&](TRakeDatabase& db) {
        const auto master = db.Prepare(MasterSQL);
        const auto detail = db.Prepare(DetailSQL);
        for (const TCorpusFile& f : files) {
            ReadBytes(f.Path);
            for (const TExpectedHand& h : f.Expected) {
                BindMaster(*master, h);
                master->StepAndReset();
                for (const TExpectedShare& s : h.Shares) {
                    BindDetail(*detail, h, s);
                    detail->StepAndReset();
                }
            }
        }
    };

    // Best of three, the runs interleaved so that none gains from running last.
    constexpr int Rounds = 3;
    constexpr int Runs = 4;
    TResult best[Runs];
    double bestCpu[Runs];
    for (int r = 0; r < Runs; ++r)
        best[r].Seconds = bestCpu[r] = 1e300;
    const std::function<void(TRakeDatabase&)> runs[Runs] = {import, floor, preparedOnce, loadOnly};
    for (int round = 0; round < Rounds; ++round) {
        for (int r = 0; r < Runs; ++r) {
            const TResult result = Timed(runs[r]);
            if (result.Seconds < best[r].Seconds)
                best[r] = result;
            bestCpu[r] = std::min(bestCpu[r], result.Cpu);
        }
    }
    if (written != raked || best[0].Rows != best[1].Rows || best[1].Rows != best[2].Rows ||
        readBytes != bytes) {
        std::fprintf(stderr, "runs disagree: %d of %lld hands written; rows %lld, %lld, %lld\n", written,
                     static_cast<long long>(raked), static_cast<long long>(best[0].Rows),
                     static_cast<long long>(best[1].Rows), static_cast<long long>(best[2].Rows));
        return 1;
    }
    const auto line = [&](const char* name, int r) {
        std::printf("%-46s %7.3f s %9.0f hands/s   cpu %7.3f s %9.0f hands/s\n", name, best[r].Seconds,
                    options.Hands / best[r].Seconds, bestCpu[r], options.Hands / bestCpu[r]);
    };
    line("import (load + parse + write)", 0);
    line("floor (read + same inserts, Prepare per hand)", 1);
    line("reference (statements prepared once)", 2);
    line("of the import: loading the files alone", 3);
    std::printf("ratio import / floor: %.2f wall, %.2f cpu (goal <= 1.5)\n",
                best[0].Seconds / best[1].Seconds, bestCpu[0] / bestCpu[1]);
    return 0;
}
