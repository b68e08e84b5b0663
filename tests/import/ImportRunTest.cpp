// The import run frame over its hooks, with real files and a real database.
#include "import/ImportRun.h"

#include "ImportFixture.h"
#include "import/LocalEntry.h"
#include "platform/Error.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
// Files "HHa.txt" and "HHb.txt" hold raked ring hands, "HHt.txt" a tournament
// (nothing raked); "HHgone.txt" does not exist; fetching "HHbreak.txt" drops
// the Detail table inside the run, so the next hand fails on the database.
class ImportRunTest : public ::testing::Test
{
protected:
    TImportFixture Db;
    QStringList Events;
    QHash<QString, int> Raked; // raked hands per file

    void SetUp() override
    {
        THandGenerator generator(11);
        const struct
        {
            const char* Name;
            int FirstHand;
            bool Tournament;
        } files[] = {{"HHa.txt", 100, false},
                     {"HHb.txt", 200, false},
                     {"HHt.txt", 300, true},
                     {"HHbreak.txt", 400, false}};
        for (const auto& f : files) {
            TGeneratedFile file =
                generator.MakeFile(QStringLiteral("Oak"), QDate(2026, 11, 3), 12, f.FirstHand, f.Tournament);
            WriteHandHistory(Path(f.Name), file.Lines);
            Raked[QLatin1String(f.Name)] = file.Expected.size();
        }
        ASSERT_GT(Raked["HHa.txt"], 0);
        ASSERT_GT(Raked["HHb.txt"], 0);
    }

    QString Path(const QString& entry) const { return Db.Dir.filePath(entry); }

    // Every call of the run into its front end, in order.
    struct TRecorder : TImportFrontEnd
    {
        QStringList& Events;
        explicit TRecorder(QStringList& events) : Events(events) {}
        void SetStatus(const QString& t) override { Events << "status:" + t; }
        void ShowError(const QString& t) override { Events << "error:" + t; }
        void CloseViews() override { Events << QStringLiteral("close views"); }
        void ShowPlain(const QString& t) override { Events << "plain:" + t; }
        void SetBusy(bool on) override { Events << (on ? "busy on" : "busy off"); }
    };

    int Run(const QStringList& entries)
    {
        TRecorder recorder(Events);
        return RunImport(
            Db.Database, entries, QStringLiteral("Loading"),
            [this](const QString& entry) {
                Events << "fetch:" + entry;
                if (entry == QLatin1String("HHbreak.txt"))
                    Db.Database.Execute(QStringLiteral("DROP TABLE Detail"));
                return LoadLocalEntry(Path(entry));
            },
            recorder);
    }
};

TEST_F(ImportRunTest, HooksInOrderAndWhatIsCommitted)
{
    const QString gone = "error:Error loading " + Db.Dir.filePath("HHgone.txt");
    const struct
    {
        const char* Name;
        QStringList Entries;
        QStringList Events;    // after "busy on"
        QStringList Committed; // files whose hands stay in the database
    } cases[] = {
        {"all files load",
         {"HHa.txt", "HHb.txt"},
         {"status:Loading (1 of 2):  HHa.txt", "fetch:HHa.txt", "status:Loading (2 of 2):  HHb.txt",
          "fetch:HHb.txt", "busy off", "close views", "status:Updating database ...", "status:"},
         {"HHa.txt", "HHb.txt"}},
        {"nothing raked leaves the views open",
         {"HHt.txt"},
         {"status:Loading (1 of 1):  HHt.txt", "fetch:HHt.txt", "busy off", "status:Updating database ...",
          "status:"},
         {}},
        {"a failed load ends the loop; the files before it stay",
         {"HHa.txt", "HHgone.txt", "HHb.txt"},
         {"status:Loading (1 of 3):  HHa.txt", "fetch:HHa.txt", "status:Loading (2 of 3):  HHgone.txt",
          "fetch:HHgone.txt", "busy off", gone, "close views", "status:Updating database ...", "status:"},
         {"HHa.txt"}},
        {"a failed first load imports nothing",
         {"HHgone.txt", "HHa.txt"},
         {"status:Loading (1 of 2):  HHgone.txt", "fetch:HHgone.txt", "busy off", gone,
          "status:Updating database ...", "status:"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Db.Database.Execute(QStringLiteral("DELETE FROM Master; DELETE FROM Detail;"));
        Events.clear();
        int expected = 0;
        for (const QString& file : c.Committed)
            expected += Raked[file];
        EXPECT_EQ(Run(c.Entries), expected);
        EXPECT_EQ(Events, QStringList{"busy on"} + c.Events +
                              QStringList{QStringLiteral("plain:Raked hands imported:  %1").arg(expected)});
        EXPECT_EQ(Db.Rows("SELECT COUNT(*) FROM Master"), QStringList{QString::number(expected)});
        EXPECT_EQ(Db.Database.TransactionCount(), 0);
    }
}

TEST_F(ImportRunTest, ADatabaseErrorRollsTheWholeRunBackAndPropagates)
{
    try {
        Run({"HHa.txt", "HHbreak.txt", "HHb.txt"});
        FAIL() << "the run must raise";
    } catch (const TError& e) {
        EXPECT_EQ(e.Message(), "SQLite3 Error 1 - no such table: Detail");
    }
    EXPECT_EQ(Events,
              (QStringList{"busy on", "status:Loading (1 of 3):  HHa.txt", "fetch:HHa.txt",
                           "status:Loading (2 of 3):  HHbreak.txt", "fetch:HHbreak.txt", "busy off"}));
    // The first file's hands and the dropped table both come back as before the run.
    EXPECT_EQ(Db.Rows("SELECT COUNT(*) FROM Master"), QStringList{"0"});
    EXPECT_EQ(Db.Rows("SELECT COUNT(*) FROM Detail"), QStringList{"0"});
    EXPECT_EQ(Db.Database.TransactionCount(), 0);
    // And the next run starts clean.
    Events.clear();
    EXPECT_EQ(Run({"HHb.txt"}), Raked["HHb.txt"]);
}
} // namespace
