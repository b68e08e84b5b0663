// Generated hand-history folders imported end to end: every row as the generator expects it.
#include "ImportFixture.h"
#include "import/RakeShares.h"
#include "import/StringList2.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct TFolder
{
    QTemporaryDir Dir;
    QStringList Paths;
    QVector<TExpectedHand> Expected;
    QStringList AllLines;
};

// Ring tables of several stakes over two days, a tournament, files in every
// encoding and line break.
void MakeFolder(TFolder& folder, quint32 seed, int handsPerFile)
{
    THandGenerator generator(seed);
    const THandHistoryEncoding encodings[] = {THandHistoryEncoding::Utf8, THandHistoryEncoding::Windows1252,
                                              THandHistoryEncoding::Utf8Bom, THandHistoryEncoding::Utf16LEBom,
                                              THandHistoryEncoding::Utf16BEBom};
    const QString breaks[] = {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r")};
    const QString tables[] = {QStringLiteral("Oak"), QStringLiteral("Birch 2"), QStringLiteral("Señor Río"),
                              QStringLiteral("Elm (6 max)"), QStringLiteral("Tournament 17")};
    for (int i = 0; i < 5; ++i) {
        const TGeneratedFile file =
            generator.MakeFile(tables[i], QDate(2026, 5, 1 + i % 2), handsPerFile, 100000 * (i + 1), i == 4);
        const QString path = folder.Dir.filePath(file.FileName);
        WriteHandHistory(path, file.Lines, encodings[i], breaks[i % 3]);
        folder.Paths << path;
        folder.Expected += file.Expected;
        folder.AllLines += file.Lines;
    }
}

int ImportFolder(TImportFixture& f, const TFolder& folder)
{
    QList<QStringList> texts;
    for (const QString& path : folder.Paths) {
        TStringList2 list;
        list.LoadFromFile(path);
        texts << list;
    }
    return f.Import(texts);
}

TEST(GeneratedImport, WritesExactlyTheExpectedRows)
{
    for (const quint32 seed : {1u, 2u, 3u}) {
        TFolder folder;
        MakeFolder(folder, seed, 150);
        TImportFixture f;
        EXPECT_EQ(ImportFolder(f, folder), folder.Expected.size()) << "seed " << seed;
        EXPECT_EQ(f.MasterRows(), TImportFixture::ExpectedMaster(folder.Expected)) << "seed " << seed;
        EXPECT_EQ(f.DetailRows(), TImportFixture::ExpectedDetail(folder.Expected)) << "seed " << seed;
    }
}

TEST(GeneratedImport, CoversWhatTheParserReads)
{
    // The comparison above only means something when the texts hold every kind
    // of line: each marker, case variants of names, split rakes, unraked hands.
    TFolder folder;
    MakeFolder(folder, 1, 150);
    std::array<int, ActionMarkers.size()> markers{};
    int rakeLines = 0;
    int tournamentGames = 0;
    int chat = 0;
    for (const QString& line : folder.AllLines) {
        const TMarkerHit hit = FindActionMarker(line);
        if (hit.Marker >= 0)
            ++markers[hit.Marker];
        rakeLines += line.startsWith(QLatin1String("Rake (")) ? 1 : 0;
        tournamentGames += line.startsWith(QLatin1String("Game: ")) && line.contains(u'+') ? 1 : 0;
        chat += line.contains(u'"') || line.contains(QLatin1String(": ")) ? 1 : 0;
    }
    for (size_t m = 0; m < markers.size(); ++m)
        EXPECT_GT(markers[m], 0) << qPrintable(QString(ActionMarkers[m].Text));
    EXPECT_GT(rakeLines, folder.Expected.size());
    EXPECT_GT(tournamentGames, 0);
    EXPECT_GT(chat, 0);
    int hands = 0;
    for (const TExpectedHand& h : folder.Expected)
        hands += h.Shares.size() == h.Dealt ? 1 : 0;
    EXPECT_EQ(hands, folder.Expected.size());
    EXPECT_LT(folder.Expected.size(), 4 * 150) << "some ring hands go unraked";
}

TEST(GeneratedImport, ImportingTwiceEqualsOnce)
{
    TFolder folder;
    MakeFolder(folder, 4, 80);
    TImportFixture once;
    ImportFolder(once, folder);
    TImportFixture twice;
    ImportFolder(twice, folder);
    ImportFolder(twice, folder);
    EXPECT_EQ(twice.MasterRows(), once.MasterRows());
    EXPECT_EQ(twice.DetailRows(), once.DetailRows());
    EXPECT_EQ(twice.Rows("SELECT count(*) FROM Detail"), once.Rows("SELECT count(*) FROM Detail"));
}

} // namespace
