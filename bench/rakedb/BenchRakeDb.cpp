#include "BenchRakeDb.h"

#include "db/RakeDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace BenchRakeDb {

double Now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double Generate(const QString& folder, int hands, const QString& firstDay, int days)
{
    const double start = Now();
    QFile::remove(QDir(folder).filePath(TRakeDatabase::DatabaseFileName));
    TRakeDatabase database(folder);
    database.OpenRakeDatabase();
    database.Execute(
        QStringLiteral("BEGIN;"
                       "WITH RECURSIVE n(h) AS (SELECT 1 UNION ALL SELECT h + 1 FROM n WHERE h < %1) "
                       "INSERT INTO Master SELECT h, 'Table ' || (h % 50), "
                       "date('%2', '+' || (h * %3 / %1) || ' days'), time(h * 37 % 86400, 'unixepoch'), "
                       "(h % 400 + 1) / 100.0, 6, (h % 400 + 1) / 600.0 FROM n;"
                       "WITH RECURSIVE k(p) AS (SELECT 0 UNION ALL SELECT p + 1 FROM k WHERE p < 5) "
                       "INSERT INTO Detail SELECT Hand, 'Player ' || ((Hand * 7 + p * 331) % 5000), "
                       "Rake * (p + 1) / 21.0 FROM Master, k ORDER BY Hand % 50, Hand, p;"
                       "COMMIT;")
            .arg(hands)
            .arg(firstDay)
            .arg(days));
    return Now() - start;
}

void GenerateDays(const QString& folder, const QString& first, int days)
{
    QFile::remove(QDir(folder).filePath(TRakeDatabase::DatabaseFileName));
    TRakeDatabase database(folder);
    database.OpenRakeDatabase();
    // At most 150 + 100 + 60 + 36 hands a day: hand numbers are day * 400 + i.
    database.Execute(
        QStringLiteral(
            "BEGIN;"
            "WITH RECURSIVE d(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM d WHERE n < %2 - 1), "
            "k(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM k WHERE i < 399), "
            "day(n, date, hands) AS (SELECT n, date('%1', '+' || n || ' days'), 150 + 100 * n / %2 "
            "+ CASE WHEN strftime('%w', date('%1', '+' || n || ' days')) IN ('0', '5', '6') THEN 60 ELSE 0 "
            "END "
            "+ n * 7919 % 37 FROM d WHERE n % 365 NOT BETWEEN 200 AND 209) "
            "INSERT INTO Master SELECT n * 400 + i + 1, 'Table ' || (i % 12), date, "
            "time(i * 86399 / hands, 'unixepoch'), ((n * 400 + i) * 37 % 400 + 1) / 100.0, 6, "
            "((n * 400 + i) * 37 % 400 + 1) / 600.0 FROM day, k WHERE i < hands;"
            "COMMIT;")
            .arg(first)
            .arg(days));
}

double RunShell(const QString& databaseFile, const QString& script)
{
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    const double start = Now();
    shell.start(QStringLiteral("sqlite3"), {databaseFile});
    if (!shell.waitForStarted())
        return -1;
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    const double seconds = Now() - start;
    return shell.exitCode() == 0 ? seconds : -1;
}

double PeakSelfMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double PeakChildrenMiB()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024.0;
}

QString DatabaseFolder(int argc, char** argv)
{
    if (argc > 1) {
        QDir().mkpath(QString::fromLocal8Bit(argv[1]));
        return QString::fromLocal8Bit(argv[1]);
    }
    static QTemporaryDir dir;
    return dir.path();
}

double Median(QList<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples.isEmpty() ? 0 : samples[samples.size() / 2];
}

} // namespace BenchRakeDb

QString BenchRakeDb::PreparedDatabaseFolder(int argc, char** argv, int hands)
{
    const QString folder = DatabaseFolder(argc, argv);
    if (!QFile::exists(QDir(folder).filePath(TRakeDatabase::DatabaseFileName)))
        std::printf("generated %d hands in %.1f s\n", hands, Generate(folder, hands));
    return folder;
}
