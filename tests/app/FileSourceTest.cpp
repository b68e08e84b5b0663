// A third kind of file source plugged into the real hand-history page: Refresh,
// the filter, Import, Ctrl+A and the settings reach it through the source
// interface alone, with the page's own boxes and status lines. (View is the
// page's one shared path, which the local and remote tests drive.)
#include "WindowFixture.h"
#include "app/Controls.h"
#include "platform/Error.h"
#include "platform/SettingsStore.h"
#include "support/HandGenerator.h"
#include "support/QtPrinters.h"
#include "viewer/HHView.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using TBox = TRecordingBoxes::TBox;

namespace {
// Entries kept in memory, as a store other than a folder or the server would
// hand them over. It notes what the page asked of it.
class TMemorySource : public TFileSource
{
public:
    explicit TMemorySource(TWindowParts& parts) : TFileSource(parts)
    {
        setObjectName(QStringLiteral("MemoryPage"));
        auto* layout = new QVBoxLayout(this);
        MFileLabel = MakeCountLabel("MFileLabel");
        HHMemoryList = MakeFileList("HHMemoryList");
        layout->addWidget(MFileLabel);
        layout->addWidget(HHMemoryList, 1);
    }

    QString Caption() const override { return QStringLiteral("Memory"); }
    QString ImportVerb() const override { return QStringLiteral("Reading"); }
    bool ListFiles(QLabel* status) override
    {
        SetStatus(status, QStringLiteral("Counting ..."));
        if (!Open) {
            FParts.Boxes.Error(QStringLiteral("Store closed"));
            return false;
        }
        for (const TGeneratedFile& file : Stored)
            Files.Add(file.FileName);
        return true;
    }
    bool ImportChecksPass() override { return Open || Refuse(); }
    bool ViewChecksPass() override { return Open || Refuse(); }
    TFetch EntryFetcher() override
    {
        return [this](const QString& entry) {
            Fetched << entry;
            for (const TGeneratedFile& file : Stored)
                if (file.FileName == entry)
                    return TEntryText{file.Lines, QStringLiteral("memory:") + entry, 0, {}};
            throw TError(QStringLiteral("Gone: ") + entry);
        };
    }
    void SaveSettings(TSettingsWriter& writer) const override
    {
        writer.WriteText(QStringLiteral("MemoryStore"), QString::number(Stored.size()));
    }

    QLabel* MFileLabel;
    QListWidget* HHMemoryList;
    QVector<TGeneratedFile> Stored;
    bool Open = true;
    QStringList Fetched;

private:
    bool Refuse()
    {
        FParts.Boxes.Error(QStringLiteral("Store closed"));
        return false;
    }
};

QStringList Items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

class AThirdSource : public ::testing::Test
{
protected:
    TWindowFixture F;
    TMainForm* Form = nullptr;
    THandHistoryPage* Page = nullptr;
    TMemorySource* Source = nullptr;
    int RakedRing = 0; // raked hands of the two ring files

    void SetUp() override
    {
        Form = &F.Open();
        F.Show();
        Page = &Form->HandHistoryPage();
        Source = new TMemorySource(Form->Parts());
        Page->AddSource(Source);
        THandGenerator generator(3);
        for (int i = 0; i < 3; ++i) {
            Source->Stored << generator.MakeFile(QStringLiteral("Mem%1").arg(i + 1), QDate(2026, 11, 3), 8,
                                                 100 * (i + 1), i == 2);
            RakedRing += i < 2 ? Source->Stored.back().Expected.size() : 0;
        }
        Page->PageControl2->setCurrentWidget(Source);
    }
    void TearDown() override { F.Close(); }
};
} // namespace

TEST_F(AThirdSource, IsATabWhoseListingTheFilterShows)
{
    EXPECT_EQ(Page->PageControl2->tabText(2), QStringLiteral("Memory"));
    TStatusRecorder status(Page->HHStatus);
    Page->RefreshBtn->click();
    EXPECT_EQ(status.Shown.value(0), QStringLiteral("Counting ...")) << "painted while the source lists";
    EXPECT_TRUE(Page->HHStatus->text().isEmpty());
    EXPECT_EQ(Items(Source->HHMemoryList),
              (QStringList{Source->Stored[0].FileName, Source->Stored[1].FileName}));
    EXPECT_EQ(Source->MFileLabel->text(), QStringLiteral("Files:  2"));
    const struct
    {
        QRadioButton* Filter;
        int Shown;
    } filters[] = {{Page->ShowTrny, 1}, {Page->ShowBoth, 3}, {Page->ShowRing, 2}};
    for (const auto& f : filters) {
        f.Filter->click();
        EXPECT_EQ(Source->HHMemoryList->count(), f.Shown) << f.Filter->objectName().toStdString();
        EXPECT_EQ(Source->MFileLabel->text(), QStringLiteral("Files:  %1").arg(f.Shown));
    }
    Source->HHMemoryList->setFocus();
    QTest::keyClick(Source->HHMemoryList, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Source->HHMemoryList->selectedItems().size(), 2);
    Page->PageControl2->setCurrentWidget(&Page->LocalPage());
    Page->PageControl2->setCurrentWidget(Source);
    EXPECT_EQ(Source->HHMemoryList->count(), 2) << "the tab switch shows the stored list again";
    EXPECT_TRUE(Source->HHMemoryList->selectedItems().isEmpty());

    Page->ShowTrny->click();
    Source->Stored.removeLast();
    Page->RefreshBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"information", "No files found"}}));
    Source->Open = false;
    Page->RefreshBtn->click();
    EXPECT_EQ(F.Boxes.Boxes.back(), (TBox{"error", "Store closed"}));
    EXPECT_EQ(Source->MFileLabel->text(), QStringLiteral("Files:  0"));
    EXPECT_TRUE(Source->Files.Both.isEmpty()) << "a refused listing leaves nothing behind";
}

TEST_F(AThirdSource, ImportsWithItsVerbAndClosesTheBrowsersViews)
{
    ASSERT_GT(Source->Stored[1].Expected.size(), 0);
    Page->RefreshBtn->click();
    Form->DataPage().DBOpenBtn->click();
    ASSERT_EQ(Form->DataPage().MasterStatus->text(), QStringLiteral("Master record 0 of 0"));
    Page->SelectAllBtn->click();
    TStatusRecorder status(Page->HHStatus);
    Page->ImportBtn->click();
    const QStringList entries = Items(Source->HHMemoryList);
    EXPECT_EQ(status.Shown, (QStringList{"Reading (1 of 2):  " + entries[0],
                                         "Reading (2 of 2):  " + entries[1], "Updating database ...", ""}));
    EXPECT_EQ(Source->Fetched, entries);
    EXPECT_EQ(F.Boxes.Boxes,
              (QVector<TBox>{{"plain", QStringLiteral("Raked hands imported:  %1").arg(RakedRing)}}));
    EXPECT_TRUE(Form->DataPage().MasterStatus->text().isEmpty()) << "the import closed the views";
    Form->DataPage().DBOpenBtn->click();
    EXPECT_EQ(Form->DataPage().MasterStatus->text(), QStringLiteral("Master record 1 of %1").arg(RakedRing));

    // An entry gone since the listing ends the run; what came before stays imported.
    F.Boxes.Boxes.clear();
    Source->Fetched.clear();
    Source->Stored.removeAt(1);
    Page->ImportBtn->click();
    EXPECT_EQ(Source->Fetched, entries);
    EXPECT_EQ(
        F.Boxes.Boxes,
        (QVector<TBox>{
            {"error", "Gone: " + entries[1]},
            {"plain", QStringLiteral("Raked hands imported:  %1").arg(Source->Stored[0].Expected.size())}}));

    // The source's own check runs before anything is fetched or announced.
    F.Boxes.Boxes.clear();
    Source->Fetched.clear();
    Source->Open = false;
    TStatusRecorder refused(Page->HHStatus);
    Page->ImportBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "Store closed"}}));
    EXPECT_TRUE(Source->Fetched.isEmpty());
    EXPECT_TRUE(refused.Shown.isEmpty());
}

TEST_F(AThirdSource, WritesItsSettingsWithTheWindows)
{
    F.Close();
    QSettings settings(F.SettingsFile(), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("MemoryStore")).toString(), QStringLiteral("3"));
    for (const char* name : {"LastFolder", "ServerIP", "Password"})
        EXPECT_TRUE(settings.contains(QLatin1String(name)))
            << name << ": the other sources still write theirs";
}
