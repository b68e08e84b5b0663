// The local hand-history folder: where the picker starts, what a listing holds,
// and how names are classed.
#include "sources/LocalFolder.h"

#include "platform/Paths.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}
} // namespace

TEST(IsRingGameFile, TheSixteenCharacterTail)
{
    const struct
    {
        const char* Name;
        bool Ring;
    } cases[] = {
        {"HH2026-11-03 Oak.txt", true},
        {"HH2026-11-03 Sit 5 - Table 1.txt", false},
        {"HH2026-11-03 Sit 5 - Table 12.txt", false},
        {"HH2026-11-03 Sit 5 - Table 123.txt", false},
        {"HH2026-11-03 Sit 5 - Table 1234.txt", true}, // the blank has left the tail
        {"HH2026-11-03 A - Table 1 long ring name.txt", true},
        {" - Table 1.txt", false}, // shorter than 16: tested whole
        {"a.txt", true},
        {"", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRingGameFile(QString::fromUtf8(c.Name)), c.Ring) << c.Name;
}

TEST(LocalFolder, StartingFolderChain)
{
    QTemporaryDir home;
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    const QString current = home.path() + "/Zantreo 3/HandHistory";
    const QString older = home.path() + "/Zantreo/HandHistory";
    const QString remembered = home.filePath("mine");
    const QString exe = ExecutableFolder();
    const struct
    {
        const char* Name;
        QString Remembered;
        bool Mine, Current, Older; // which folders exist
        bool ExeWritable;
        QString Expected;
    } cases[] = {
        {"remembered and there", remembered, true, true, true, false, remembered},
        {"nothing remembered: the current layout", "", false, true, true, false, current},
        {"nothing remembered, only the older layout", "", false, false, true, false, older},
        {"a remembered folder that is gone skips the current layout", remembered, false, true, true, false,
         older},
        {"nothing exists: a copy's own folder", remembered, false, false, false, true, exe},
        {"nothing exists: an installed copy starts at home", remembered, false, false, false, false,
         QDir::homePath()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        for (const auto& [path, exists] :
             {std::pair{remembered, c.Mine}, {current, c.Current}, {older, c.Older}})
            exists ? QDir().mkpath(path) : QDir(path).removeRecursively();
        const TWritableCheck writable = [&](const QString& folder) {
            EXPECT_EQ(folder, exe);
            return c.ExeWritable;
        };
        EXPECT_EQ(StartingFolder(c.Remembered, writable), c.Expected);
    }
    savedDataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", savedDataHome);
}

TEST(LocalFolder, ListingMatchesHHTxtInAnyCaseAndKeepsEveryKindOfEntry)
{
    QTemporaryDir dir;
    for (const char* name :
         {"HH2026-11-03 Oak.txt", "hh2026-11-04 lower.TXT", "HH2026-11-03 Sit - Table 2.txt", "notes.txt",
          "HH.txt.bak", ".HHhidden.txt", "HH.hidden2.txt"})
        Touch(dir.filePath(QString::fromUtf8(name)));
    QDir().mkpath(dir.filePath("HH folder.txt")); // a matching sub-folder is an entry too
    TFileLists lists;
    lists.Add(QStringLiteral("stale")); // a listing replaces what was there
    EXPECT_EQ(ListLocalFolder(dir.path(), lists), 5);
    QStringList both = lists.Both;
    both.sort();
    EXPECT_EQ(both, (QStringList{"HH folder.txt", "HH.hidden2.txt", "HH2026-11-03 Oak.txt",
                                 "HH2026-11-03 Sit - Table 2.txt", "hh2026-11-04 lower.TXT"}));
    EXPECT_EQ(lists.Trny, QStringList{"HH2026-11-03 Sit - Table 2.txt"});
    EXPECT_EQ(lists.Ring.size(), 4);
    EXPECT_EQ(ListLocalFolder(dir.filePath("missing"), lists), 0);
    EXPECT_TRUE(lists.Both.isEmpty());
}

// The listing comes in the order the server's platform enumerates a folder,
// whatever order the names were made in (Linux gives hash order).
TEST(LocalFolder, ListingIsOrderedByUpperCasedNameThenByTheNameItself)
{
    struct Case
    {
        const char* Name;
        QStringList Expected; // made in reverse, so file-system order can't pass by chance
    };
    const Case cases[] = {
        {"case is ignored", {"HH2026-11-02 A.txt", "hh2026-11-02 b.txt", "HH2026-11-02 C.txt"}},
        {"upper-cased letters sort before '_'", {"HHa.txt", "HHb.txt", "HH_a.txt"}},
        {"digits compare one by one", {"HH2026-11-10.txt", "HH2026-11-2.txt", "HH2026-11-9.txt"}},
        {"names equal but for case: the name itself decides", {"HHX.txt", "HHx.txt", "hhX.txt"}},
        {"beyond ASCII by code unit, a sharp s is not two letters",
         {"HH st.txt", "HH z.txt", "HH ä.txt", "HH ß.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir dir;
        for (auto name = c.Expected.crbegin(); name != c.Expected.crend(); ++name)
            Touch(dir.filePath(*name));
        TFileLists lists;
        ListLocalFolder(dir.path(), lists);
        EXPECT_EQ(lists.Both, c.Expected);
    }
}
