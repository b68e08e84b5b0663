#pragma once

#include "reports/ReportCatalogue.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

class TRakeDatabase;
class TSettingsReader;
class TSettingsWriter;

// What each player gets back of the rake charged to them over a period.

enum class TRakebackBasis
{
    Proportional, // the sum of Share
    Equal         // the sum of AvgShare
};

struct TRakebackRow
{
    QString Player;
    qint64 Hands = 0; // the player's Detail rows in the period
    double Rake = 0;  // the basis sum
    double Percent = 0;
    qint64 Cents = 0; // the rakeback in whole cents
};

struct TRakebackStatement
{
    QList<TRakebackRow> Rows; // by rakeback descending, then by the name's bytes
    qint64 Hands = 0;
    double Rake = 0;
    qint64 Cents = 0; // the sum of the rows' cents: what is paid
};

// The one refusal of a rate: "Rate must be a number from 0 to 100".
extern const char* const RateRefusal;

// A rate as typed: digits with at most two decimals after "." (or after
// decimalPoint, the window's own separator), from 0 to 100; no sign,
// exponent or grouping. Raises TError with RateRefusal otherwise.
double ParseRate(const QString& text, QChar decimalPoint = u'.');
// A rate as the settings file and the command line write it: "12.5".
QString RateText(double percent);

// Rake × percent ÷ 100 in whole cents, halves away from zero; the 1e-9 keeps
// a product such as 0.125 that the doubles hold a hair low on its half.
qint64 RakebackCents(double rake, double percent);
// Cents as money text with ".": "-1.05".
QString CentsText(qint64 cents);

// The statement's query: per player, the share rows and the basis sum.
QString RakebackQuery(TRakebackBasis basis, const TReportLimit& start, const TReportLimit& end);

// The statement over the period (the Reports page's limits, with their
// meaning); a player's own rate overrides the default.
TRakebackStatement BuildRakebackStatement(TRakeDatabase& database, const TReportLimit& start,
                                          const TReportLimit& end, TRakebackBasis basis,
                                          double defaultPercent);

// The players' own rates, in the engine's binary order of the name.
QList<QPair<QString, double>> ReadRakebackRates(TRakeDatabase& database);
// Sets or removes a player's own rate (the rates table is made when missing).
void SetRakebackRate(TRakeDatabase& database, const QString& player, double percent);
void UnsetRakebackRate(TRakeDatabase& database, const QString& player);

// The statement as CSV for spreadsheets: UTF-8 with a byte-order mark, CR LF,
// "." in numbers, a guard against names a spreadsheet would run as formulas.
QByteArray RakebackCsv(const TRakebackStatement& statement);

// The period as a statement names it: "from 2026-11-01 00:00:00 to 2026-11-30
// 23:59:59", "from ...", "to ..." or "all dates".
QString RakebackPeriodText(const TReportLimit& start, const TReportLimit& end);
QString RakebackBasisText(TRakebackBasis basis); // "Proportional" or "Equal"

// The default rate of the settings file; 0 when absent or not a rate.
double ReadDefaultRate(TSettingsReader& reader);
void WriteDefaultRate(TSettingsWriter& writer, double percent);

// "rakeback-2026-11" for a period within one month, "rakeback-2026-11-03_2026-12-02"
// for another span, "rakeback" for all dates: the name proposed for its files.
QString RakebackFileStem(const TReportLimit& start, const TReportLimit& end);
