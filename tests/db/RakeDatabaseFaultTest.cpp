// The database file after faults: a full disk during a run or at its commit, a
// full disk while a new file is made, and a run killed in its middle.
#include "db/RakeDatabase.h"
#include "platform/Error.h"
#include "support/QtPrinters.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sched.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A folder on a disk with little room: a small tmpfs of its own where the test
// may mount one (in a mount namespace of its own, so it goes with the test),
// else a limit on the size of every file the process writes, which fails the
// same writes with a different error code.
class TSmallDisk
{
public:
    explicit TSmallDisk(int kilobytes) : FKilobytes(kilobytes)
    {
        static const bool privateMounts =
            ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        FMounted = privateMounts && ::mount("tmpfs", QFile::encodeName(FDir.path()).constData(), "tmpfs", 0,
                                            options.constData()) == 0;
    }
    ~TSmallDisk()
    {
        Unlimit();
        if (FMounted)
            ::umount2(QFile::encodeName(FDir.path()).constData(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;

    QString Path() const { return FDir.path(); }
    bool IsTmpfs() const { return FMounted; }
    // From here on writes past the room fail.
    void Limit()
    {
        if (FMounted)
            return;
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(FKilobytes) * 1024, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    void Grow(int kilobytes)
    {
        Unlimit();
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        if (FMounted)
            ::mount("tmpfs", QFile::encodeName(FDir.path()).constData(), "tmpfs", MS_REMOUNT,
                    options.constData());
    }
    void Unlimit()
    {
        const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &none);
    }

private:
    QTemporaryDir FDir;
    int FKilobytes;
    bool FMounted = false;
};

QByteArray Digest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Hands 1..count, each with a long table name so that a run grows the file fast.
void WriteHands(TRakeDatabase& database, int from, int count)
{
    auto master = database.Prepare(QLatin1String(TRakeDatabase::MasterReplaceSQL));
    const QString table = QString(400, QLatin1Char('t'));
    for (int hand = from; hand < from + count; ++hand) {
        master->Bind_Int(1, hand);
        master->Bind_Str16(2, table);
        master->Bind_Str16(3, QStringLiteral("2026-01-01"));
        master->Bind_Str16(4, QStringLiteral("10:00:00"));
        master->Bind_Double(5, 1.5);
        master->Bind_Int(6, 6);
        master->Bind_Double(7, 0.25);
        master->StepAndReset();
    }
}

int CountHands(TRakeDatabase& database)
{
    auto count = database.Prepare(QStringLiteral("SELECT count(*) FROM Master"));
    count->Step();
    return sqlite3_column_int(count->Handle(), 0);
}

// A failed run, on a disk that fills in its middle or only at the commit,
// leaves the file as it was before the run, with no journal beside it, and
// the next run works.
TEST(RakeDatabaseFaults, AFullDiskLeavesTheFileAsBeforeTheRun)
{
    struct TCase
    {
        const char* Name;
        int Hands; // the run's hands: past the engine's page cache, or within it
        bool FailsAtCommit;
    } cases[] = {
        {"during the run", 20'000, false},
        {"at the commit", 1'000, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TSmallDisk disk(256);
        TRakeDatabase database(disk.Path());
        database.OpenRakeDatabase();
        WriteHands(database, 1, 20);
        const QString file = database.FileName();
        const qint64 size = QFileInfo(file).size();
        const QByteArray digest = Digest(file);

        disk.Limit();
        QString message;
        database.StartTransaction();
        try {
            WriteHands(database, 1000, c.Hands);
            EXPECT_TRUE(c.FailsAtCommit) << "the run itself should have failed";
            database.Commit();
        } catch (const TError& error) {
            message = error.Message();
        }
        database.Rollback();
        if (disk.IsTmpfs())
            EXPECT_EQ(message, QStringLiteral("SQLite3 Error 13 - database or disk is full"));
        else
            EXPECT_TRUE(message.startsWith(QStringLiteral("SQLite3 Error "))) << message.toStdString();
        EXPECT_EQ(QFileInfo(file).size(), size);
        EXPECT_EQ(Digest(file), digest);
        EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral("-journal")));
        EXPECT_EQ(database.TransactionCount(), 0);

        database.StartTransaction();
        WriteHands(database, 100, 5);
        database.Commit();
        EXPECT_EQ(CountHands(database), 25);
        disk.Unlimit();
    }
}

// With no room for the schema, no database file appears (and no half-made one
// is left); with room, the file has both tables.
TEST(RakeDatabaseFaults, ANewFileHoldsBothTablesOrDoesNotExist)
{
    // Room for two pages of the four that the schema takes.
    TSmallDisk disk(8);
    {
        TRakeDatabase database(disk.Path());
        disk.Limit();
        EXPECT_THROW(database.OpenRakeDatabase(), TError);
        disk.Unlimit();
    }
    EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{});

    disk.Grow(1024);
    TRakeDatabase database(disk.Path());
    database.OpenRakeDatabase();
    EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files), QStringList{TRakeDatabase::DatabaseFileName});
    auto tables =
        database.Prepare(QStringLiteral("SELECT group_concat(name) FROM sqlite_master WHERE type='table'"));
    tables->Step();
    EXPECT_EQ(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(tables->Handle(), 0))),
              QStringLiteral("Master,Detail,Imports,RakebackRates"));
}

// A run killed in its middle, after it has written into the file itself,
// leaves a journal; the next start finds the file as it was before the run.
TEST(RakeDatabaseFaults, ARunKilledInItsMiddleIsUndoneAtTheNextStart)
{
    QTemporaryDir dir;
    QByteArray digest;
    {
        TRakeDatabase database(dir.path());
        database.OpenRakeDatabase();
        WriteHands(database, 1, 20);
    }
    const QString file = dir.filePath(QLatin1String(TRakeDatabase::DatabaseFileName));
    digest = Digest(file);

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        TRakeDatabase database(dir.path());
        database.OpenRakeDatabase();
        // A small page cache: the run's pages reach the file long before a commit.
        database.Execute(QStringLiteral("PRAGMA cache_size = 10"));
        database.StartTransaction();
        WriteHands(database, 1000, 2000);
        (void)!::write(ready[1], "r", 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_NE(Digest(file), digest) << "the run should have written into the file";
    ASSERT_TRUE(QFileInfo::exists(file + QStringLiteral("-journal")));

    TRakeDatabase database(dir.path());
    database.OpenRakeDatabase();
    EXPECT_EQ(CountHands(database), 20);
    EXPECT_EQ(Digest(file), digest);
    EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral("-journal")));
}

} // namespace
