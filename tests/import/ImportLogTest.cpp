// The import log: its rows, and which files a catch-up run takes as new.
#include "import/ImportLog.h"
#include "ImportFixture.h"
#include "import/ImportRun.h"
#include "import/LocalEntry.h"
#include "platform/Clock.h"
#include "platform/Error.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <gtest/gtest.h>
#include <utime.h>

namespace {

struct TQuiet : TImportFrontEnd
{
    TImportCounts Counts;
    QStringList Statuses;
    void SetStatus(const QString& text) override { Statuses.append(text); }
    void ShowError(const QString&) override {}
    void CloseViews() override {}
    void ShowPlain(const QString&) override {}
    void Counted(const TImportCounts& counts) override { Counts = counts; }
};

class ImportLogTest : public ::testing::Test
{
protected:
    TImportFixture Db;
    TQuiet FrontEnd;

    void SetUp() override
    {
        Clock::SetNowSource([] { return QDateTime({2026, 11, 5}, {3, 15}, Qt::UTC); });
    }
    void TearDown() override { Clock::SetNowSource({}); }

    QString Write(const QString& name, int firstHand, int hands = 6)
    {
        THandGenerator generator{quint32(firstHand)};
        const TGeneratedFile file = generator.MakeFile("Oak", QDate(2026, 11, 3), hands, firstHand);
        const QString path = Db.Dir.filePath(name);
        WriteHandHistory(path, file.Lines);
        return path;
    }
    int Run(const QStringList& paths)
    {
        return RunImport(Db.Database, paths, QStringLiteral("Loading"), LoadLocalEntry, FrontEnd);
    }
};

TEST_F(ImportLogTest, EveryFileReadToItsEndGetsARowInTheRunsTransaction)
{
    const QString a = Write("HH2026-11-03 Oak.txt", 100);
    const QString b = Write("HH2026-11-03 Elm.txt", 200);
    const QString gone = Db.Dir.filePath("HH2026-11-03 Gone.txt");
    const int raked = Run({a, b});
    EXPECT_EQ(FrontEnd.Counts.Files, 2);
    EXPECT_EQ(FrontEnd.Counts.Hands, raked);
    EXPECT_EQ(FrontEnd.Counts.NewHands, raked);
    // Read again, and a run that stops at a file it can't load: rows for the files before it only.
    Clock::SetNowSource([] { return QDateTime({2026, 11, 5}, {4, 0, 9}, Qt::UTC); });
    Run({a, gone, b});
    EXPECT_EQ(FrontEnd.Counts.Files, 1);
    EXPECT_EQ(FrontEnd.Counts.NewHands, 0);
    const auto row = [](const char* imported, const QString& path, int hands, int newHands) {
        const QFileInfo file(path);
        return QStringLiteral("%1|%2|%3|%4|%5|%6")
            .arg(QLatin1String(imported), path)
            .arg(file.size())
            .arg(LogTimeText(file.lastModified()))
            .arg(hands)
            .arg(newHands);
    };
    const int inA = Db.Rows("SELECT COUNT(*) FROM Master WHERE Hand < 200")[0].toInt();
    EXPECT_EQ(Db.Rows("SELECT Imported, Source, Bytes, Modified, Hands, NewHands FROM Imports "
                      "ORDER BY Imported, Source"),
              (QStringList{row("2026-11-05 03:15:00", b, raked - inA, raked - inA),
                           row("2026-11-05 03:15:00", a, inA, inA), row("2026-11-05 04:00:09", a, inA, 0)}));
    // A run rolled back whole leaves no row.
    Db.Database.Execute(QStringLiteral("DROP TABLE Detail"));
    EXPECT_THROW(Run({b}), TError);
    Db.Database.Execute(QString::fromLatin1(TRakeDatabase::DetailCreateSQL));
    EXPECT_EQ(Db.Rows("SELECT COUNT(*) FROM Imports"), QStringList{"3"});
    // Empty empties the log too.
    Db.Database.EmptyDatabase();
    EXPECT_EQ(Db.Rows("SELECT COUNT(*) FROM Imports"), QStringList{"0"});
}

TEST_F(ImportLogTest, WhatACatchUpRunTakesAsNew)
{
    const QString kept = Write("HH2026-11-03 Oak.txt", 100);
    const QString grown = Write("HH2026-11-03 Elm.txt", 200);
    const QString touched = Write("HH2026-11-03 Ash.txt", 300);
    const QString never = Write("HH2026-11-03 Fir.txt", 400);
    QDir().mkpath(Db.Dir.filePath("other"));
    const QString elsewhere = Db.Dir.filePath("other/HH2026-11-03 Oak.txt");
    QFile::copy(kept, elsewhere);
    Run({kept, grown, touched});
    // The remote entries' rows, as a run on 2026-11-05 03:15 UTC wrote them.
    Db.Database.Execute(QStringLiteral("INSERT INTO Imports VALUES ('2026-11-05 03:15:00', "
                                       "'http://h:8087/api/HH2026-11-03 Oak.txt', 9, NULL, 1, 1);"
                                       "INSERT INTO Imports VALUES ('2026-11-05 03:15:00', "
                                       "'http://h:8087/api/HH2026-11-04 Oak.txt', 9, NULL, 1, 1);"
                                       "INSERT INTO Imports VALUES ('2026-11-03 23:59:59', "
                                       "'http://h:8087/api/HH2026-11-02 Elm.txt', 9, NULL, 1, 1);"
                                       "INSERT INTO Imports VALUES ('2026-11-05 03:15:00', "
                                       "'http://h:8087/api/undated.txt', 9, NULL, 0, 0);"));
    QFile file(grown);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\r\n");
    file.close();
    const utimbuf later{QFileInfo(touched).lastModified().toSecsSinceEpoch() + 60,
                        QFileInfo(touched).lastModified().toSecsSinceEpoch() + 60};
    ASSERT_EQ(utime(QFile::encodeName(touched).constData(), &later), 0);

    const TImportLog log(Db.Database);
    const struct
    {
        const char* Name;
        bool New;
    } local[] = {{"HH2026-11-03 Oak.txt", false},
                 {"HH2026-11-03 Elm.txt", true},
                 {"HH2026-11-03 Ash.txt", true},
                 {"HH2026-11-03 Fir.txt", true},
                 {"other/HH2026-11-03 Oak.txt", true}};
    for (const auto& c : local)
        EXPECT_EQ(log.IsNewLocal(Db.Dir.filePath(c.Name)), c.New) << c.Name;
    const struct
    {
        const char* Entry;
        bool New;
    } remote[] = {
        {"HH2026-11-03 Oak.txt", false}, // imported on the second day after its date: complete
        {"HH2026-11-04 Oak.txt", true},  // imported the day after: it may have grown since
        {"HH2026-11-02 Elm.txt", true},  // one second before its second day
        {"HH2026-11-05 Oak.txt", true},  // never imported
        {"undated.txt", false},
    };
    for (const auto& c : remote)
        EXPECT_EQ(log.IsNewRemote(QStringLiteral("http://h:8087/api/") + c.Entry, c.Entry), c.New) << c.Entry;
    (void)never;
}

TEST_F(ImportLogTest, AnOlderFileGetsItsLogFromTheNextImportRunOnly)
{
    Db.Database.Execute(QStringLiteral("DROP TABLE Imports"));
    EXPECT_TRUE(TImportLog(Db.Database).IsNewLocal(Write("HH2026-11-03 Oak.txt", 100)));
    EXPECT_FALSE(Db.Database.HasTable("Imports")) << "reading the log adds nothing";
    Run({Db.Dir.filePath("HH2026-11-03 Oak.txt")});
    EXPECT_EQ(Db.Rows("SELECT COUNT(*) FROM Imports"), QStringList{"1"});
}

// The date index: an older file gets it from its next run, a run bigger than
// the file makes it after its last hand, a small run keeps it as it is. Each
// run that makes it says so just before "Updating database ...".
TEST_F(ImportLogTest, TheDateIndexIsMadeAtTheEndOfARunThatNeedsIt)
{
    const QString small = Write("HH2026-11-03 Oak.txt", 100, 2);
    const QString big = Write("HH2026-11-03 Elm.txt", 200, 400);
    const QString building = QStringLiteral("Building the date index ...");
    const struct
    {
        bool DropFirst;
        QString Path;
        bool Builds;
    } runs[] = {
        {true, small, true},   // an older file
        {false, big, true},    // more than the file holds
        {false, small, false}, // a small run into a bigger file
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.Path.toStdString());
        if (run.DropFirst)
            Db.Database.Execute(QStringLiteral("DROP INDEX MasterDateTime"));
        FrontEnd.Statuses.clear();
        Run({run.Path});
        EXPECT_TRUE(Db.Database.HasIndex("MasterDateTime"));
        const qsizetype at = FrontEnd.Statuses.indexOf(building);
        EXPECT_EQ(at >= 0, run.Builds) << FrontEnd.Statuses.join('|').toStdString();
        if (at >= 0) {
            EXPECT_EQ(FrontEnd.Statuses.value(at + 1), QStringLiteral("Updating database ..."));
        }
    }
    // The engine takes the index for a span of dates, as the reports need.
    EXPECT_TRUE(Db.Rows("EXPLAIN QUERY PLAN SELECT COUNT(*) FROM Master "
                        "WHERE Date >= '2026-11-01' AND Date <= '2026-11-30'")
                    .join(' ')
                    .contains("MasterDateTime"));
}

} // namespace
