#pragma once

#include "support/HandGenerator.h"

#include <QString>
#include <QVector>

// A folder of invented hand-history files as a server's folder looks after
// some days: ring tables of 50 to 1,500 hands a file, a few tournament files
// a day, in the mix of encodings and line ends that servers and the tools
// that copy their files leave behind.
struct TCorpusFile
{
    QString Path;
    int Hands = 0;
    QVector<TExpectedHand> Expected; // the raked hands, in file order
};

struct TCorpusOptions
{
    int Hands = 200000; // ring-game hands in all; tournaments come on top
    quint32 Seed = 1;
    int TablesPerDay = 8;
    int TournamentsPerDay = 2;
    QDate FirstDay = QDate(2026, 11, 1);
};

// What one file is written in, with its share of the folder (percent):
// UTF-8 63, UTF-8 with a mark 13, Windows-1252 10, UTF-16 LE 9, UTF-16 BE 4
// (the last point goes to UTF-8); line ends CR LF 80, LF 8, CR 4, mixed 8.
QVector<TCorpusFile> WriteCorpus(const QString& folder, const TCorpusOptions& options);
