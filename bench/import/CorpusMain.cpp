// kestrum_corpus <folder> <hands> [seed]: writes a folder of invented hand
// histories for trying the program by hand.
#include "Corpus.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool handsOk = false;
    bool seedOk = true;
    const int hands = args.size() >= 3 ? args[2].toInt(&handsOk) : 0;
    const quint32 seed = args.size() >= 4 ? args[3].toUInt(&seedOk) : 1;
    if (args.size() < 3 || args.size() > 4 || !handsOk || hands <= 0 || !seedOk) {
        std::fprintf(stderr, "usage: kestrum_corpus <folder> <hands> [seed]\n");
        return 2;
    }
    TCorpusOptions options;
    options.Hands = hands;
    options.Seed = seed;
    options.TournamentsPerDay = 1;
    const QVector<TCorpusFile> files = WriteCorpus(args[1], options);
    int raked = 0;
    for (const TCorpusFile& f : files)
        raked += f.Expected.size();
    std::printf("%lld files, %d ring hands (%d raked) in %s\n", static_cast<long long>(files.size()), hands,
                raked, qPrintable(QDir(args[1]).absolutePath()));
    return 0;
}
