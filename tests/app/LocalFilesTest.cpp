// The local hand-history folder and the import run, through the real window.
#include "QueuedClick.h"
#include "WindowFixture.h"
#include "app/Pickers.h"
#include "app/RakebackPage.h"
#include "app/ReportsPage.h"
#include "db/RakeDatabase.h"
#include "support/HandGenerator.h"
#include "support/QtPrinters.h"
#include "viewer/HHView.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

using TBox = TRecordingBoxes::TBox;

namespace {
QStringList Items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

qint64 Count(const QString& dbPath, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(dbPath.toUtf8().constData(), &db);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    qint64 n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
    sqlite3_finalize(s);
    sqlite3_close(db);
    return n;
}

class LocalFiles : public ::testing::Test
{
protected:
    TWindowFixture F;
    QString Folder;
    QVector<TGeneratedFile> Files;

    void SetUp() override
    {
        Folder = F.Dir.filePath(QStringLiteral("hh"));
        QDir().mkpath(Folder);
    }
    // Ring files for tables "T1".. and, when asked, tournament files.
    void MakeFiles(int ring, int tournaments = 0, int hands = 20)
    {
        THandGenerator generator(7);
        for (int i = 0; i < ring + tournaments; ++i) {
            const bool tournament = i >= ring;
            TGeneratedFile file = generator.MakeFile(QStringLiteral("T%1").arg(i + 1), QDate(2026, 11, 3),
                                                     hands, 1000 * (i + 1), tournament);
            WriteHandHistory(Folder + QLatin1Char('/') + file.FileName, file.Lines);
            Files.append(file);
        }
    }
    int RakedHands(int index) const { return Files[index].Expected.size(); }
    TMainForm& List()
    {
        TMainForm& form = F.Form ? *F.Form : F.Open();
        F.PickerAnswer = Folder;
        form.HandHistoryPage().RefreshBtn->click();
        return form;
    }
    QString DbPath() const { return F.DatabaseFolder() + QStringLiteral("/Kestrum2.db3"); }
};
} // namespace

TEST_F(LocalFiles, FiltersTheListingAndShowsHiddenKindsWithoutANewListing)
{
    MakeFiles(2, 2);
    TMainForm& form = F.Open();
    F.PickerAnswer = Folder;
    form.HandHistoryPage().ShowTrny->click();
    form.HandHistoryPage().RefreshBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, QVector<TBox>{}) << "tournaments are there";
    EXPECT_EQ(Items(form.HandHistoryPage().LocalPage().HHLocalList).size(), 2);
    EXPECT_EQ(form.HandHistoryPage().LocalPage().LFileLabel->text(), QStringLiteral("Files:  2"));
    EXPECT_EQ(form.HandHistoryPage().LocalPage().LocalFolder->text(), Folder);
    EXPECT_EQ(form.HandHistoryPage().LocalPage().RememberedFolder(), Folder);
    form.HandHistoryPage().ShowBoth->click();
    EXPECT_EQ(Items(form.HandHistoryPage().LocalPage().HHLocalList).size(), 4);
    EXPECT_EQ(Items(form.HandHistoryPage().LocalPage().HHLocalList),
              form.HandHistoryPage().LocalPage().Files.Both);
    form.HandHistoryPage().ShowRing->click();
    EXPECT_EQ(form.HandHistoryPage().LocalPage().LFileLabel->text(), QStringLiteral("Files:  2"));
}

TEST_F(LocalFiles, NoFilesFoundThenAnotherFilterShowsThem)
{
    MakeFiles(3);
    TMainForm& form = F.Open();
    form.HandHistoryPage().ShowTrny->click();
    F.PickerAnswer = Folder;
    form.HandHistoryPage().RefreshBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"information", "No files found"}}));
    EXPECT_EQ(form.HandHistoryPage().LocalPage().LFileLabel->text(), QStringLiteral("Files:  0"));
    form.HandHistoryPage().ShowRing->click();
    EXPECT_EQ(form.HandHistoryPage().LocalPage().LFileLabel->text(), QStringLiteral("Files:  3"));
    EXPECT_EQ(F.Boxes.Boxes.size(), 1);
}

TEST_F(LocalFiles, CancelAfterAListingLeavesEverythingEmptyButTheRememberedFolder)
{
    MakeFiles(2);
    TMainForm& form = List();
    ASSERT_EQ(form.HandHistoryPage().LocalPage().HHLocalList->count(), 2);
    F.PickerAnswer.reset();
    form.HandHistoryPage().HHStatus->setText(QStringLiteral("unchanged"));
    form.HandHistoryPage().RefreshBtn->click();
    EXPECT_EQ(F.PickerInitFolder, Folder) << "the remembered folder seeds the picker";
    EXPECT_EQ(form.HandHistoryPage().LocalPage().HHLocalList->count(), 0);
    EXPECT_TRUE(form.HandHistoryPage().LocalPage().LocalFolder->text().isEmpty());
    EXPECT_EQ(form.HandHistoryPage().LocalPage().LFileLabel->text(), QStringLiteral("Files:  0"));
    EXPECT_EQ(form.HandHistoryPage().LocalPage().RememberedFolder(), Folder);
    EXPECT_EQ(form.HandHistoryPage().HHStatus->text(), QStringLiteral("unchanged"));
    EXPECT_TRUE(F.Boxes.Boxes.isEmpty());
}

TEST_F(LocalFiles, SelectionCommandsAndThePageSwitch)
{
    MakeFiles(3);
    TMainForm& form = List();
    F.Show();
    form.HandHistoryPage().RemotePage().Files.Add(QStringLiteral("HH2026-11-03 Remote.txt"));
    form.HandHistoryPage().LocalPage().HHLocalList->setFocus();
    QTest::keyClick(form.HandHistoryPage().LocalPage().HHLocalList, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(form.HandHistoryPage().LocalPage().HHLocalList->selectedItems().size(), 3);
    form.HandHistoryPage().LocalPage().HHLocalList->clearSelection();
    form.HandHistoryPage().SelectAllBtn->click();
    EXPECT_EQ(form.HandHistoryPage().LocalPage().HHLocalList->selectedItems().size(), 3);
    form.HandHistoryPage().PageControl2->setCurrentWidget(&form.HandHistoryPage().RemotePage());
    EXPECT_EQ(Items(form.HandHistoryPage().RemotePage().HHRemoteList),
              QStringList{QStringLiteral("HH2026-11-03 Remote.txt")});
    EXPECT_EQ(form.HandHistoryPage().RemotePage().RFileLabel->text(), QStringLiteral("Files:  1"));
    EXPECT_EQ(form.HandHistoryPage().RemotePage().HHRemoteList->selectedItems().size(), 0);
    form.HandHistoryPage().SelectAllBtn->click();
    EXPECT_EQ(form.HandHistoryPage().RemotePage().HHRemoteList->selectedItems().size(), 1);
    form.HandHistoryPage().PageControl2->setCurrentWidget(&form.HandHistoryPage().LocalPage());
    EXPECT_EQ(form.HandHistoryPage().LocalPage().HHLocalList->count(), 3);
    EXPECT_EQ(form.HandHistoryPage().LocalPage().HHLocalList->selectedItems().size(), 0)
        << "the page switch re-applies the filter";
    F.Close();
}

TEST_F(LocalFiles, NothingSelectedShowsOnlyTheMessage)
{
    MakeFiles(1);
    TMainForm& form = List();
    F.Show();
    TStatusRecorder status(form.HandHistoryPage().HHStatus);
    form.HandHistoryPage().ImportBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "No history files selected"}}));
    EXPECT_TRUE(status.Shown.isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form.RakeDatabase().TransactionCount(), 0);
    F.Close();
}

TEST_F(LocalFiles, SelectedEntriesAreAnnouncedInListOrderAndImported)
{
    MakeFiles(10, 0, 8);
    TMainForm& form = List();
    F.Show();
    ASSERT_EQ(form.HandHistoryPage().LocalPage().HHLocalList->count(), 10);
    QStringList chosen;
    for (int row : {8, 1, 4}) // selected out of order
        form.HandHistoryPage().LocalPage().HHLocalList->item(row)->setSelected(true);
    for (int row : {1, 4, 8})
        chosen << form.HandHistoryPage().LocalPage().HHLocalList->item(row)->text();
    int expected = 0;
    for (const QString& name : chosen)
        for (const auto& file : Files)
            if (file.FileName == name)
                expected += file.Expected.size();
    TStatusRecorder status(form.HandHistoryPage().HHStatus);
    bool cursorAtBox = true;
    F.Boxes.OnBox = [&](const TBox&) { cursorAtBox = QApplication::overrideCursor() != nullptr; };
    form.HandHistoryPage().ImportBtn->click();
    EXPECT_EQ(status.Shown, (QStringList{"Loading (1 of 3):  " + chosen[0], "Loading (2 of 3):  " + chosen[1],
                                         "Loading (3 of 3):  " + chosen[2], "Updating database ...", ""}));
    EXPECT_EQ(F.Boxes.Boxes,
              (QVector<TBox>{{"plain", QStringLiteral("Raked hands imported:  %1").arg(expected)}}));
    EXPECT_FALSE(cursorAtBox);
    EXPECT_EQ(Count(DbPath(), "SELECT COUNT(*) FROM Master"), expected);
    // The browser shows them.
    form.DataPage().DBOpenBtn->click();
    EXPECT_EQ(form.DataPage().MasterStatus->text(), QStringLiteral("Master record 1 of %1").arg(expected));
    F.Close();
}

TEST_F(LocalFiles, ADatabaseErrorInMidRunRollsBackAndTheNextRunImports)
{
    MakeFiles(2, 0, 10);
    TMainForm& form = List();
    F.Show();
    form.HandHistoryPage().LocalPage().HHLocalList->selectAll();
    sqlite3* other = nullptr;
    sqlite3_open(DbPath().toUtf8().constData(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    form.HandHistoryPage().ImportBtn->click();
    ASSERT_EQ(F.Boxes.Boxes.size(), 1);
    EXPECT_EQ(F.Boxes.Boxes[0], (TBox{"unhandled", "SQLite3 Error 5 - database is locked."}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form.RakeDatabase().TransactionCount(), 0);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(Count(DbPath(), "SELECT COUNT(*) FROM Master"), 0);
    F.Boxes.Boxes.clear();
    form.HandHistoryPage().ImportBtn->click();
    const int expected = RakedHands(0) + RakedHands(1);
    EXPECT_EQ(F.Boxes.Boxes,
              (QVector<TBox>{{"plain", QStringLiteral("Raked hands imported:  %1").arg(expected)}}));
    EXPECT_EQ(Count(DbPath(), "SELECT COUNT(*) FROM Master"), expected);
    F.Close();
}

TEST_F(LocalFiles, AnImportWaitsForAReportStillReadingAndTheWindowGoesOn)
{
    MakeFiles(1, 0, 10);
    F.LockWaitMs = 30000;
    TMainForm& form = List();
    F.Show();
    form.HandHistoryPage().LocalPage().HHLocalList->selectAll();
    sqlite3* other = nullptr;
    sqlite3_open(DbPath().toUtf8().constData(), &other);
    sqlite3_stmt* reading = nullptr;
    sqlite3_prepare_v2(other, "SELECT count(*) FROM sqlite_master", -1, &reading, nullptr);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW); // holds its read lock until finalized
    // Only a window that runs its timers while it waits lets the report end.
    QTimer::singleShot(300, [&] { sqlite3_finalize(reading); });
    form.HandHistoryPage().ImportBtn->click();
    sqlite3_close(other);
    EXPECT_EQ(F.Boxes.Boxes,
              (QVector<TBox>{{"plain", QStringLiteral("Raked hands imported:  %1").arg(RakedHands(0))}}));
    EXPECT_EQ(Count(DbPath(), "SELECT COUNT(*) FROM Master"), RakedHands(0));
    F.Close();
}

TEST_F(LocalFiles, SelectNewFilesSelectsWhatTheImportLogLacks)
{
    MakeFiles(3);
    TMainForm& form = List();
    THandHistoryPage& page = form.HandHistoryPage();
    QListWidget* list = page.LocalPage().HHLocalList;
    const auto selected = [list] {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->isSelected())
                names << list->item(i)->text();
        return names;
    };
    page.SelectNewBtn->click();
    EXPECT_EQ(selected(), Items(list)) << "nothing imported yet";
    list->clearSelection();
    list->item(1)->setSelected(true);
    page.ImportBtn->click();
    page.SelectNewBtn->click();
    EXPECT_EQ(selected(), (QStringList{list->item(0)->text(), list->item(2)->text()}));
    // A file that grew since is new again.
    QFile grown(Folder + QLatin1Char('/') + list->item(1)->text());
    ASSERT_TRUE(grown.open(QIODevice::Append));
    grown.write("\r\n");
    grown.close();
    page.SelectNewBtn->click();
    EXPECT_EQ(selected(), Items(list));
    F.Close();
}

TEST_F(LocalFiles, ViewShowsTheCurrentEntryOrSaysWhy)
{
    TMainForm& form = F.Open();
    form.HandHistoryPage().LoadHHBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "No hand history file selected in list"}}));
    MakeFiles(2, 0, 5);
    List();
    F.Show();
    F.Boxes.Boxes.clear();
    // Nothing selected: the entry with the focus mark is shown; a double click does the same.
    form.HandHistoryPage().LocalPage().HHLocalList->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    const QString entry = form.HandHistoryPage().LocalPage().HHLocalList->item(1)->text();
    QString caption;
    QTimer::singleShot(0, [&] {
        caption = form.HHViewForm().windowTitle();
        form.HHViewForm().close();
    });
    emit form.HandHistoryPage().LocalPage().HHLocalList->itemDoubleClicked(
        form.HandHistoryPage().LocalPage().HHLocalList->item(1));
    EXPECT_EQ(caption, entry);
    EXPECT_TRUE(F.Boxes.Boxes.isEmpty());
    QFile::remove(Folder + QLatin1Char('/') + entry);
    form.HandHistoryPage().LoadHHBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "Error loading " + Folder + "/" + entry}}));
    F.Close();
}

namespace {

// A pipe or a device with a hand-history name is listed like any entry, and
// both importing and viewing it end in the usual box instead of hanging.
TEST_F(LocalFiles, APipeOrADeviceInTheFolderFailsToLoad)
{
    const QString fifo = Folder + QStringLiteral("/HH2026-01-01 Pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = Folder + QStringLiteral("/HH2026-01-01 Zero.txt");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    TMainForm& form = List();
    F.Show();
    ASSERT_EQ(Items(form.HandHistoryPage().LocalPage().HHLocalList),
              (QStringList{"HH2026-01-01 Pipe.txt", "HH2026-01-01 Zero.txt"}));
    for (int row : {0, 1}) {
        const QString path =
            Folder + QLatin1Char('/') + form.HandHistoryPage().LocalPage().HHLocalList->item(row)->text();
        F.Boxes.Boxes.clear();
        form.HandHistoryPage().LocalPage().HHLocalList->clearSelection();
        form.HandHistoryPage().LocalPage().HHLocalList->setCurrentRow(row);
        form.HandHistoryPage().ImportBtn->click();
        EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "Error loading " + path},
                                                {"plain", QStringLiteral("Raked hands imported:  0")}}));
        F.Boxes.Boxes.clear();
        form.HandHistoryPage().LoadHHBtn->click();
        EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "Error loading " + path}}));
    }
    F.Close();
}

} // namespace

// The accessibility bus toggles radio buttons and check boxes without a click;
// the window answers as it answers the click.
TEST_F(LocalFiles, AToggleThroughTheBusActsAsAClick)
{
    MakeFiles(3, 1, 8);
    TMainForm& form = List();
    THandHistoryPage& page = form.HandHistoryPage();
    ToggleThroughTheBus(page.ShowTrny);
    EXPECT_EQ(page.LocalPage().HHLocalList->count(), 1);
    ToggleThroughTheBus(page.ShowBoth);
    EXPECT_EQ(page.LocalPage().HHLocalList->count(), 4);
    for (auto [box, picker] : {std::pair{form.ReportPage().StartCB, form.ReportPage().StartDate},
                               std::pair{form.RakebackPage().RBEndCB, form.RakebackPage().RBEndDate}}) {
        const bool before = picker->isEnabled();
        ToggleThroughTheBus(box);
        EXPECT_NE(picker->isEnabled(), before) << box->text().toStdString();
    }
}

// Between files the window runs its timers and paints, but a click made
// meanwhile reaches its control only once the run is over.
TEST_F(LocalFiles, BetweenFilesTheWindowStaysDrawnButTakesNoClick)
{
    MakeFiles(3, 1, 8);
    TMainForm& form = List();
    F.Show();
    form.HandHistoryPage().SelectAllBtn->click();
    TClickDuringWait seen;
    ClickDuringTheWait(form.HandHistoryPage().HHStatus, form.HandHistoryPage().ShowTrny, seen);
    form.HandHistoryPage().ImportBtn->click();
    EXPECT_TRUE(seen.Busy && seen.Status.startsWith(QStringLiteral("Loading (")))
        << seen.Status.toStdString();
    EXPECT_FALSE(seen.CheckedRightAfter);
    EXPECT_FALSE(form.HandHistoryPage().ShowTrny->isChecked());
    EXPECT_EQ(F.Boxes.Boxes.size(), 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.HandHistoryPage().ShowTrny->isChecked()) << "the click was held back, not lost";
    EXPECT_EQ(form.HandHistoryPage().LocalPage().HHLocalList->count(), 1);
}

// The list comes in the order the server's platform enumerates a folder, and
// the filters keep it.
TEST_F(LocalFiles, TheListIsInTheServerPlatformsOrder)
{
    MakeFiles(1);
    QFile source(Folder + QLatin1Char('/') + Files[0].FileName);
    const QStringList expected{"HH2026-11-03 a.txt", "hh2026-11-03 A.txt", "HH2026-11-03 b.txt",
                               "HH2026-11-03 T1.txt", "HH2026-11-03 _c.txt"};
    for (const QString& name : expected) {
        if (name == Files[0].FileName)
            continue;
        ASSERT_TRUE(source.copy(Folder + QLatin1Char('/') + name));
    }
    TMainForm& form = List();
    EXPECT_EQ(Items(form.HandHistoryPage().LocalPage().HHLocalList), expected);
    form.HandHistoryPage().ShowBoth->click();
    EXPECT_EQ(Items(form.HandHistoryPage().LocalPage().HHLocalList), expected);
}
