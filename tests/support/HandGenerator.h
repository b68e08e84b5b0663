#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <random>

// Invented hand histories in the server's text layout, with the rows an import
// of them must write.

struct TExpectedShare
{
    QString Player;
    double Share;
};

// One raked hand: its Master row and its Detail rows (in no particular order).
struct TExpectedHand
{
    qint32 Hand;
    QString TableName, Date, Time;
    double Rake;
    int Dealt;
    double AvgShare;
    QVector<TExpectedShare> Shares;
};

struct TGeneratedFile
{
    QString FileName;
    QStringList Lines;
    QVector<TExpectedHand> Expected; // raked hands only; empty for a tournament
};

class THandGenerator
{
public:
    explicit THandGenerator(quint32 seed);

    // A ring file is named "HH" + date + " " + table + ".txt"; a tournament
    // file's name ends in " - Table N.txt". Hands are numbered from firstHand.
    TGeneratedFile MakeFile(const QString& tableName, const QDate& date, int handCount, qint32 firstHand,
                            bool tournament = false);

    // Every name the generator seats: all of them can be written in Windows-1252,
    // none differs from another only in letter case.
    static const QStringList& PlayerNames();

private:
    int Below(int bound); // 0 .. bound-1
    bool Chance(int percent);

    std::mt19937 FRandom;
};

enum class THandHistoryEncoding
{
    Utf8,
    Utf8Bom,
    Utf16LEBom,
    Utf16BEBom,
    Windows1252
};

// The bytes of a file of these lines, each line ended by lineBreak.
QByteArray EncodeHandHistory(const QStringList& lines,
                             THandHistoryEncoding encoding = THandHistoryEncoding::Utf8,
                             const QString& lineBreak = QStringLiteral("\r\n"));

// Writes those bytes to path (replacing the file); a failure ends the test run.
void WriteHandHistory(const QString& path, const QStringList& lines,
                      THandHistoryEncoding encoding = THandHistoryEncoding::Utf8,
                      const QString& lineBreak = QStringLiteral("\r\n"));
