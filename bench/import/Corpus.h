#pragma once

#include "support/HandGenerator.h"

#include <QString>
#include <QVector>

// A folder of invented hand-history files as a server writes them: a few
// tables over consecutive days, one file per table and day.
struct TCorpusFile
{
    QString Path;
    int Hands = 0;
    QVector<TExpectedHand> Expected; // the raked hands, in file order
};

struct TCorpusOptions
{
    int Hands = 200000;      // ring-game hands in all
    int HandsPerFile = 4000; // about; the last file of a table takes the rest
    quint32 Seed = 1;
    int Tables = 5;
    int TournamentsPerDay = 0; // tournament files come on top of the ring hands
    QDate FirstDay = QDate(2026, 11, 1);
};

QVector<TCorpusFile> WriteCorpus(const QString& folder, const TCorpusOptions& options);
