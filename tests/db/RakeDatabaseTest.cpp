#include "db/RakeDatabase.h"
#include "db/Query.h"
#include "platform/Error.h"

#include "support/QtPrinters.h"
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {
// A second, independent connection to the same file, as another process would hold it.
struct TOtherConnection
{
    sqlite3* Handle = nullptr;
    explicit TOtherConnection(const QString& path) { sqlite3_open(path.toUtf8().constData(), &Handle); }
    ~TOtherConnection() { sqlite3_close(Handle); }
    void Exec(const char* sql)
    {
        ASSERT_EQ(sqlite3_exec(Handle, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    }
    QStringList Column(const char* sql)
    {
        QStringList out;
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(Handle, sql, -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
        return out;
    }
};

QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const TError& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

class RakeDatabaseTest : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    QString Path() const { return Dir.filePath(QStringLiteral("Kestrum2.db3")); }
};
} // namespace

TEST_F(RakeDatabaseTest, CreatesTheFileWithItsTables)
{
    {
        TRakeDatabase db(Dir.path());
        db.OpenRakeDatabase();
        EXPECT_EQ(db.FileName(), Path());
    }
    ASSERT_TRUE(QFileInfo::exists(Path()));
    TOtherConnection other(Path());
    EXPECT_EQ(other.Column("SELECT sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY rowid"),
              (QStringList{QString::fromLatin1(TRakeDatabase::MasterCreateSQL).chopped(1),
                           QString::fromLatin1(TRakeDatabase::DetailCreateSQL).chopped(1),
                           QString::fromLatin1(TRakeDatabase::ImportsCreateSQL).chopped(1),
                           QString::fromLatin1(TRakeDatabase::RakebackRatesCreateSQL).chopped(1),
                           QString::fromLatin1(TRakeDatabase::MasterDateIndexSQL).chopped(1)}));
    EXPECT_EQ(
        other.Column("SELECT name FROM sqlite_master WHERE type='index'"),
        (QStringList{QStringLiteral("sqlite_autoindex_Detail_1"),
                     QStringLiteral("sqlite_autoindex_RakebackRates_1"), QStringLiteral("MasterDateTime")}));
}

// A start killed while it made the file leaves its new file and journal; the
// next start removes those of ours that no start in progress can still own.
TEST_F(RakeDatabaseTest, RemovesOldLeftoversOfANewFileOnly)
{
    const struct
    {
        const char* Name;
        int AgeMinutes;
        bool Removed;
    } cases[] = {
        {"Kestrum2.db3.new-0badf00d", 11, true},      {"Kestrum2.db3.new-0badf00d-journal", 60 * 24, true},
        {"Kestrum2.db3.new-12345678", 9, false}, // another start may be making it
        {"Kestrum2.db3.new-1234567", 11, false},      {"Kestrum2.db3.new-123456789", 11, false},
        {"Kestrum2.db3.new-0BADF00D", 11, false},     {"Kestrum2.db3.new-0badf00g", 11, false},
        {"Kestrum2.db3.new-0badf00d-wal", 11, false}, {"Other.db3.new-0badf00d", 11, false},
        {"xKestrum2.db3.new-0badf00d", 11, false},    {"Kestrum2.db3-journal", 11, false},
    };
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const auto& c : cases) {
        QFile file(Dir.filePath(c.Name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.flush(); // a write at the close would set the time again
        ASSERT_TRUE(file.setFileTime(now.addSecs(-60 * c.AgeMinutes), QFileDevice::FileModificationTime));
    }

    TRakeDatabase db(Dir.path());
    db.OpenRakeDatabase();
    for (const auto& c : cases)
        EXPECT_EQ(QFileInfo::exists(Dir.filePath(c.Name)), !c.Removed) << c.Name;
    EXPECT_TRUE(QFileInfo::exists(Path()));
}

TEST_F(RakeDatabaseTest, ExistingFileIsOpenedAsItIsAndFailsAtFirstUseWithoutTables)
{
    {
        TOtherConnection other(Path());
        other.Exec("CREATE TABLE Other (x);");
    }
    TRakeDatabase db(Dir.path());
    db.OpenRakeDatabase();
    TOtherConnection other(Path());
    EXPECT_EQ(other.Column("SELECT name FROM sqlite_master"), QStringList{QStringLiteral("Other")});
    EXPECT_EQ(ErrorOf([&] { db.Prepare(QString::fromLatin1(TRakeDatabase::MasterReplaceSQL)); }),
              QStringLiteral("SQLite3 Error 1 - no such table: Master"));
}

TEST_F(RakeDatabaseTest, NestedTransactionsIssueOneBeginAndOneCommit)
{
    TRakeDatabase db(Dir.path());
    db.OpenRakeDatabase();
    db.Commit(); // none open: nothing happens
    EXPECT_EQ(db.TransactionCount(), 0);
    db.StartTransaction();
    db.StartTransaction();
    EXPECT_EQ(db.TransactionCount(), 2);
    EXPECT_EQ(sqlite3_get_autocommit(db.Handle()), 0);
    db.Execute(QStringLiteral("INSERT INTO Master (Hand) VALUES (1)"));
    db.Commit();
    EXPECT_EQ(sqlite3_get_autocommit(db.Handle()), 0) << "the inner Commit must not commit";
    TOtherConnection other(Path());
    EXPECT_TRUE(other.Column("SELECT Hand FROM Master").isEmpty());
    db.Commit();
    EXPECT_EQ(db.TransactionCount(), 0);
    EXPECT_EQ(other.Column("SELECT Hand FROM Master"), QStringList{QStringLiteral("1")});
}

TEST_F(RakeDatabaseTest, RollbackLeavesNothingOfTheRunAndTheCountAtZero)
{
    TRakeDatabase db(Dir.path());
    db.OpenRakeDatabase();
    db.StartTransaction();
    db.StartTransaction();
    db.Execute(
        QStringLiteral("INSERT INTO Master (Hand) VALUES (7); INSERT INTO Detail VALUES (7, 'Ann', 1.0);"));
    db.Rollback();
    EXPECT_EQ(db.TransactionCount(), 0);
    EXPECT_NE(sqlite3_get_autocommit(db.Handle()), 0);
    TOtherConnection other(Path());
    EXPECT_TRUE(other.Column("SELECT Hand FROM Master UNION ALL SELECT Hand FROM Detail").isEmpty());
    // The next run starts clean.
    db.StartTransaction();
    db.Execute(QStringLiteral("INSERT INTO Master (Hand) VALUES (8)"));
    db.Commit();
    EXPECT_EQ(other.Column("SELECT Hand FROM Master"), QStringList{QStringLiteral("8")});
}

TEST_F(RakeDatabaseTest, StepGivesUpAfterEightAttemptsOnALockedFile)
{
    TRakeDatabase db(Dir.path());
    db.OpenRakeDatabase();
    // Compiled first: compiling reads the schema, which the lock would refuse too.
    auto statement = db.Prepare(QString::fromLatin1(TRakeDatabase::MasterReplaceSQL));
    TOtherConnection other(Path());
    other.Exec("BEGIN EXCLUSIVE;");
    statement->Bind_Int(1, 1);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(ErrorOf([&] { statement->Step(); }), QStringLiteral("SQLite3 Error 5 - database is locked"));
    const qint64 ms = timer.elapsed();
    EXPECT_GE(ms, 60); // seven waits of 10 ms
    EXPECT_LT(ms, 1000);
    // The BEGIN fails at once, without retry, and the count stays.
    EXPECT_EQ(ErrorOf([&] { db.Execute(QStringLiteral("INSERT INTO Master (Hand) VALUES (2)")); }),
              QStringLiteral("SQLite3 Error 5 - database is locked"));
    other.Exec("ROLLBACK;");
    statement->StepAndReset();
    EXPECT_EQ(other.Column("SELECT Hand FROM Master"), QStringList{QStringLiteral("1")});
}

// A run's BEGIN and COMMIT wait for a reader or another run to finish, keeping
// the caller's window drawn meanwhile; past the wait they fail as any locked step.
TEST_F(RakeDatabaseTest, BeginAndCommitWaitForTheLockThenGiveUp)
{
    TRakeDatabase db(Dir.path());
    db.OpenRakeDatabase();
    TOtherConnection other(Path());
    other.Exec("INSERT INTO Master (Hand) VALUES (1);");
    // A report still reading: its statement holds a read lock across the run's COMMIT.
    sqlite3_stmt* reading = nullptr;
    sqlite3_prepare_v2(other.Handle, "SELECT Hand FROM Master", -1, &reading, nullptr);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);
    int tries = 0;
    db.SetLockWait(30000, [&] {
        if (++tries == 20) {
            sqlite3_finalize(reading); // the report ends
            reading = nullptr;
        }
    });
    db.StartTransaction(); // a reader does not keep a run from starting
    db.Execute(QStringLiteral("INSERT INTO Master (Hand) VALUES (2)"));
    db.Commit();
    EXPECT_EQ(tries, 20);
    EXPECT_EQ(db.TransactionCount(), 0);
    EXPECT_EQ(other.Column("SELECT Hand FROM Master"), (QStringList{"1", "2"}));

    // Another run holds the write lock until the wait runs out: BEGIN fails, nothing changes.
    db.SetLockWait(300);
    other.Exec("BEGIN IMMEDIATE;");
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(ErrorOf([&] { db.StartTransaction(); }),
              QStringLiteral("SQLite3 Error 5 - database is locked"));
    EXPECT_GE(timer.elapsed(), 300);
    EXPECT_EQ(db.TransactionCount(), 0);
    other.Exec("ROLLBACK;");

    // A reader that outlasts the wait: the COMMIT fails and the run is still open to roll back.
    sqlite3_prepare_v2(other.Handle, "SELECT Hand FROM Master", -1, &reading, nullptr);
    db.StartTransaction();
    db.Execute(QStringLiteral("INSERT INTO Master (Hand) VALUES (3)"));
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);
    EXPECT_EQ(ErrorOf([&] { db.Commit(); }), QStringLiteral("SQLite3 Error 5 - database is locked"));
    EXPECT_EQ(db.TransactionCount(), 1);
    db.Rollback();
    sqlite3_finalize(reading);
    EXPECT_EQ(other.Column("SELECT Hand FROM Master"), (QStringList{"1", "2"}));
}

TEST_F(RakeDatabaseTest, StepAndResetKeepsBindingsAndReportsTheSpecificCode)
{
    TRakeDatabase db(Dir.path());
    db.OpenRakeDatabase();
    auto detail = db.Prepare(QString::fromLatin1(TRakeDatabase::DetailReplaceSQL));
    detail->Bind_Int(1, 5);
    detail->Bind_Str16(2, QStringLiteral("Zoë \"Z\""));
    detail->Bind_Double(3, 0.1);
    EXPECT_EQ(detail->StepAndReset(), SQLITE_DONE);
    detail->Bind_Str16(2, QStringLiteral("Bob"));
    EXPECT_EQ(detail->StepAndReset(), SQLITE_DONE);
    TOtherConnection other(Path());
    EXPECT_EQ(other.Column("SELECT Player || '|' || Hand || '|' || Share FROM Detail ORDER BY Player"),
              (QStringList{QStringLiteral("Bob|5|0.1"), QStringLiteral("Zoë \"Z\"|5|0.1")}));

    db.Execute(QStringLiteral("CREATE TABLE U (x INTEGER UNIQUE)"));
    auto insert = db.Prepare(QStringLiteral("INSERT INTO U VALUES (?)"));
    insert->Bind_Int(1, 1);
    insert->StepAndReset();
    EXPECT_EQ(ErrorOf([&] { insert->StepAndReset(); }),
              QStringLiteral("SQLite3 Error 19 - UNIQUE constraint failed: U.x"));
}

TEST_F(RakeDatabaseTest, MessagesOfTheStore)
{
    TRakeDatabase db(Dir.path());
    db.OpenRakeDatabase();
    struct TCase
    {
        const char* Name;
        std::function<void()> Run;
        QString Expected;
    };
    const QString closed = QStringLiteral("RakeDatabase: Cannot perform this operation on a closed database");
    const TCase cases[] = {
        {"blank text", [&] { db.Prepare(QStringLiteral("  \n\t ")); }, QStringLiteral("Empty SQL Statement")},
        {"comment only", [&] { db.Prepare(QStringLiteral("-- nothing")); },
         QStringLiteral("Empty SQL Statement")},
        {"syntax", [&] { db.Prepare(QStringLiteral("SELEC 1")); },
         QStringLiteral("SQLite3 Error 1 - near \"SELEC\": syntax error")},
        {"closed execute",
         [&] {
             db.Close();
             db.Execute(QStringLiteral("SELECT 1"));
         },
         closed},
        {"closed begin", [&] { db.StartTransaction(); }, closed},
        {"closed vacuum", [&] { db.Vacuum(); }, closed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf(c.Run), c.Expected) << c.Name;
}

TEST_F(RakeDatabaseTest, CompilingAfterAFailedStartReopensTheExistingFileOnly)
{
    QTemporaryDir empty;
    TRakeDatabase missing(empty.path());
    const QString path = empty.filePath(QStringLiteral("Kestrum2.db3"));
    // Nothing after start-up creates the file.
    EXPECT_EQ(ErrorOf([&] { missing.Prepare(QStringLiteral("SELECT 1")); }),
              QStringLiteral("Cannot open file %1").arg(path));
    EXPECT_FALSE(QFileInfo::exists(path));

    {
        TRakeDatabase creator(Dir.path());
        creator.OpenRakeDatabase();
    }
    TRakeDatabase later(Dir.path());
    auto statement = later.Prepare(QStringLiteral("SELECT COUNT(*) FROM Master"));
    EXPECT_EQ(statement->Step(), SQLITE_ROW);
    EXPECT_TRUE(later.IsOpen());
}

TEST_F(RakeDatabaseTest, ExecuteRunsEveryStatementPrepareOnlyTheFirst)
{
    TRakeDatabase db(Dir.path());
    db.OpenRakeDatabase();
    db.Execute(QStringLiteral("INSERT INTO Master (Hand) VALUES (1); INSERT INTO Master (Hand) VALUES (2);"));
    db.Prepare(QStringLiteral("INSERT INTO Master (Hand) VALUES (3); INSERT INTO Master (Hand) VALUES (4);"))
        ->Step();
    TOtherConnection other(Path());
    EXPECT_EQ(other.Column("SELECT Hand FROM Master ORDER BY Hand"),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
}

TEST_F(RakeDatabaseTest, EmptyDatabaseLeavesBothTablesEmptyAndTheFileCompacted)
{
    TRakeDatabase db(Dir.path());
    db.OpenRakeDatabase();
    db.EmptyDatabase(); // on an empty database too
    db.StartTransaction();
    auto detail = db.Prepare(QString::fromLatin1(TRakeDatabase::DetailReplaceSQL));
    for (int i = 0; i < 20000; ++i) {
        detail->Bind_Int(1, i);
        detail->Bind_Str16(2, QStringLiteral("Player with a long name %1").arg(i));
        detail->Bind_Double(3, i * 0.5);
        detail->StepAndReset();
    }
    detail.reset();
    db.Execute(QStringLiteral("INSERT INTO Master (Hand) VALUES (1)"));
    db.Commit();
    const qint64 full = QFileInfo(Path()).size();
    db.EmptyDatabase();
    const qint64 compacted = QFileInfo(Path()).size();
    EXPECT_LT(compacted * 10, full);
    TOtherConnection other(Path());
    EXPECT_EQ(other.Column("SELECT (SELECT COUNT(*) FROM Master) + (SELECT COUNT(*) FROM Detail)"),
              QStringList{QStringLiteral("0")});
    EXPECT_EQ(other.Column("PRAGMA freelist_count"), QStringList{QStringLiteral("0")});
}
