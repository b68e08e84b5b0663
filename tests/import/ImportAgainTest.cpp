// Imports that meet earlier ones: a file cut short by a server still writing
// it, and another server's hand under a stored number.
#include "ImportFixture.h"
#include "import/ImportRun.h"
#include "import/StringList2.h"
#include "platform/Error.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QStringList HandText(int number, const QString& dateTime, const QStringList& players, const QString& rake)
{
    QStringList lines = {QStringLiteral("Hand #%1-1 - %2").arg(number).arg(dateTime),
                         QStringLiteral("Game: No Limit Hold'em (0.5/1) - Blinds 0.5/1"),
                         QStringLiteral("Table: Señor Río")};
    for (int i = 0; i < players.size(); ++i)
        lines << QStringLiteral("%1 bets %2").arg(players[i]).arg(i + 1);
    return lines +
           QStringList{QStringLiteral("Rake (%1) Pot (9)").arg(rake), QStringLiteral("** Summary **")};
}

QStringList Lines(QByteArrayView bytes)
{
    TStringList2 list;
    list.LoadFromBytes(bytes);
    return list;
}

TEST(ImportAgain, ACutFileThenTheWholeFileGivesTheWholeFilesRows)
{
    // Every name is beyond ASCII, so most cuts fall inside a character.
    QStringList text = HandText(1, "2026-11-04 10:00:01", {"Šimon", "Ñandú", "Søren"}, "0.6") +
                       HandText(2, "2026-11-04 10:01:07", {"Françoise", "Šimon"}, "0.3");
    const struct
    {
        THandHistoryEncoding Encoding;
        QStringList Extra; // a character beyond the 16-bit range where the encoding has it
    } files[] = {
        {THandHistoryEncoding::Utf8, HandText(3, "2026-11-04 10:02:00", {"Zoë😀", "Ñandú"}, "1")},
        {THandHistoryEncoding::Utf8Bom, HandText(3, "2026-11-04 10:02:00", {"Zoë😀", "Ñandú"}, "1")},
        {THandHistoryEncoding::Utf16LEBom, HandText(3, "2026-11-04 10:02:00", {"Zoë😀", "Ñandú"}, "1")},
        {THandHistoryEncoding::Utf16BEBom, HandText(3, "2026-11-04 10:02:00", {"Zoë😀", "Ñandú"}, "1")},
        {THandHistoryEncoding::Windows1252, {}},
    };
    for (const auto& file : files) {
        const QByteArray bytes = EncodeHandHistory(text + file.Extra, file.Encoding);
        TImportFixture whole;
        whole.Import(Lines(bytes));
        const QStringList master = whole.MasterRows(), detail = whole.DetailRows();
        ASSERT_EQ(master.size(), file.Extra.isEmpty() ? 2 : 3);

        TImportFixture f;
        f.Database.Execute(QStringLiteral("PRAGMA synchronous = OFF")); // thousands of runs
        for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
            f.Database.Execute(QStringLiteral("DELETE FROM Master; DELETE FROM Detail"));
            f.Import(Lines(bytes.first(cut)));
            // What the cut file wrote is already right: its complete hands, names read whole.
            for (const QString& row : f.MasterRows() + f.DetailRows())
                ASSERT_TRUE(master.contains(row) || detail.contains(row))
                    << "encoding " << int(file.Encoding) << ", cut at " << cut << ": " << row.toStdString();
            f.Import(Lines(bytes));
            ASSERT_EQ(f.MasterRows(), master) << "encoding " << int(file.Encoding) << ", cut at " << cut;
            ASSERT_EQ(f.DetailRows(), detail) << "encoding " << int(file.Encoding) << ", cut at " << cut;
        }
    }
}

TEST(ImportAgain, AnotherServersHandStopsTheRunAndWritesNothing)
{
    TImportFixture f;
    f.Import(HandText(81000, "2026-11-02 14:03:11", {"Ann", "Bob"}, "1") +
             HandText(81001, "", {"Ann", "Bob"}, "1")); // a header without date and time
    const QStringList master = f.MasterRows(), detail = f.DetailRows();

    const QHash<QString, QStringList> files = {
        {"new", HandText(90000, "2026-11-05 09:12:00", {"Cy", "Dee"}, "2")},
        {"same hand", HandText(81000, "2026-11-02 14:03:11", {"Ann"}, "1")},
        {"undated", HandText(81001, "2026-11-05 09:12:39", {"Eve"}, "1") + HandText(81000, "", {"Eve"}, "1")},
        {"other server", HandText(81000, "2026-11-05 09:12:40", {"Cy", "Dee"}, "2")},
        {"other time", HandText(81000, "2026-11-02 14:03:12", {"Cy", "Dee"}, "2")},
    };
    struct TQuiet : TImportFrontEnd
    {
        void SetStatus(const QString&) override {}
        void ShowError(const QString&) override {}
        void CloseViews() override {}
        void ShowPlain(const QString&) override {}
    } quiet;
    const auto run = [&](const QStringList& entries) {
        try {
            RunImport(
                f.Database, entries, QStringLiteral("Loading"),
                [&](const QString& entry) {
                    return TEntryText{files[entry], entry, 0, {}};
                },
                quiet);
        } catch (const TError& e) {
            return e.Message();
        }
        return QString();
    };
    // In the middle of a run, after files that wrote rows: all of the run is rolled back.
    EXPECT_EQ(
        run({"new", "same hand", "other server", "new"}),
        "Hand 81000 is already stored for 2026-11-02 14:03:11; this file has it for 2026-11-05 09:12:40. "
        "Keep each server in a database of its own.");
    EXPECT_EQ(
        run({"other time"}),
        "Hand 81000 is already stored for 2026-11-02 14:03:11; this file has it for 2026-11-02 14:03:12. "
        "Keep each server in a database of its own.");
    EXPECT_EQ(f.Database.TransactionCount(), 0);
    EXPECT_EQ(f.MasterRows(), master);
    EXPECT_EQ(f.DetailRows(), detail);
    // A header without date and time never collides, stored or read.
    EXPECT_EQ(run({"same hand", "undated"}), QString());
    EXPECT_EQ(f.DetailRows(), (QStringList{"81000|Eve|1", "81001|Eve|1"}));
}

} // namespace
