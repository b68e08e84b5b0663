#pragma once

#include <QString>
#include <QStringList>

// Shared pieces of the database benchmarks: a big rake database made with
// plain SQL, the sqlite3 shell as the peer, and the clock and memory figures.
namespace BenchRakeDb {

// Writes folder/Kestrum2.db3 with `hands` Master rows and six Detail rows per
// hand. Detail rows go in the order imports leave them: table by table, so the
// file is not in hand order. Returns the seconds it took.
// The hands are spread evenly over `days` days from firstDay.
double Generate(const QString& folder, int hands, const QString& firstDay = QStringLiteral("2025-01-01"),
                int days = 365);

// Writes folder/Kestrum2.db3 with Master rows only, enough for the reports by
// date and month: a few hundred hands a day from `first` for `days` days, more
// at weekends and growing over the span, and no hands on days 200 to 209 of
// every 365 (the server down), so charts over years have a shape to show.
void GenerateDays(const QString& folder, const QString& first, int days);

// Runs the sqlite3 shell on the file with the script on its standard input,
// the output thrown away; returns wall seconds (negative when it failed).
double RunShell(const QString& databaseFile, const QString& script);

// Wall seconds since an arbitrary start.
double Now();

// CPU seconds (user and system) this process has used.
double CpuSeconds();

// Peak resident memory in MiB of this process and of the finished children.
double PeakSelfMiB();
double PeakChildrenMiB();

// The folder to use: argv[1] when given (kept between runs), else a fresh
// temporary folder that lives until the program ends.
QString DatabaseFolder(int argc, char** argv);

// The folder of the benchmark database, generated with the given number of
// hands unless its file is already there.
QString PreparedDatabaseFolder(int argc, char** argv, int hands);

// Median of the samples.
double Median(QList<double> samples);

} // namespace BenchRakeDb
