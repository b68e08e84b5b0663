#pragma once

#include "support/HandGenerator.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <random>

// The facts of a table that every hand of a generated file shares.
struct THandPlan
{
    QString TableName; // as in the file name
    QString TableLine; // as after "Table: "
    QString Date;
    QString Time;
    QString Game;
    qint64 Sb = 0; // cents
    qint64 Bb = 0;
    bool Tournament = false;
    QStringList Regulars;
    qint32 Number = 0;
    int Sequence = 1;
};

// An amount in cents as the server writes it: "12", "12.5", "12.25".
QString FormatCents(qint64 cents);

// Plays one invented hand: appends its lines and, when it is raked and not a
// tournament hand, the rows an import must write for it.
void SimulateHand(const THandPlan& plan, std::mt19937& random, QStringList& lines,
                  QVector<TExpectedHand>& expected);
