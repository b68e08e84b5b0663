// The main window under the offscreen platform: its pages and controls, the
// start-up and shut-down, the box for unhandled errors.
#include "WindowFixture.h"
#include "app/AppTitle.h"
#include "db/RakeDatabase.h"
#include "support/QtPrinters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using TBox = TRecordingBoxes::TBox;

TEST(UnhandledErrorText, FullStopOnlyAfterACodeAboveTheFullStop)
{
    const struct
    {
        const char* Message;
        const char* Shown;
    } cases[] = {
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"(see above)", "(see above)"},
        {"no such table: Master", "no such table: Master."},
        {"Error 5", "Error 5."},
        {"Reason:", "Reason:."},
        {"Why?", "Why?."},
        {"", ""},
        {"a-", "a-"},
        {"path/", "path/."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnhandledErrorText(QString::fromUtf8(c.Message)), QString::fromUtf8(c.Shown)) << c.Message;
}

TEST(MainForm, FirstStartShowsTheDesignedWindowAndCreatesTheDatabase)
{
    TWindowFixture f;
    TMainForm& form = f.Open();
    EXPECT_TRUE(f.Boxes.Boxes.isEmpty());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Zantreo - Kestrum 2.07"));
    EXPECT_EQ(form.PageControl1->currentWidget(), &form.HandHistoryPage());
    EXPECT_EQ(form.HandHistoryPage().PageControl2->currentWidget(), &form.HandHistoryPage().LocalPage());
    EXPECT_TRUE(form.HandHistoryPage().ShowRing->isChecked());
    EXPECT_FALSE(form.HandHistoryPage().ShowTrny->isChecked() ||
                 form.HandHistoryPage().ShowBoth->isChecked());
    EXPECT_EQ(form.HandHistoryPage().LocalPage().LFileLabel->text(), QStringLiteral("Files:  0"));
    EXPECT_EQ(form.HandHistoryPage().RemotePage().RFileLabel->text(), QStringLiteral("Files:  0"));
    for (QLabel* status : {form.HandHistoryPage().HHStatus, form.DataPage().MasterStatus,
                           form.DataPage().DetailStatus, form.ReportPage().ReportStatus})
        EXPECT_TRUE(status->text().isEmpty()) << status->objectName().toStdString();
    EXPECT_EQ(form.HandHistoryPage().RemotePage().ServerIP->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(form.HandHistoryPage().RemotePage().FilePort->text(), QStringLiteral("8087"));
    EXPECT_EQ(form.HandHistoryPage().RemotePage().APIPath->text(), QStringLiteral("api"));
    EXPECT_TRUE(form.HandHistoryPage().RemotePage().APIPW->text().isEmpty());
    EXPECT_EQ(form.HandHistoryPage().RemotePage().APIPW->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(form.HandHistoryPage().RemotePage().RememberPW->isChecked());
    EXPECT_TRUE(form.HandHistoryPage().LocalPage().LocalFolder->text().isEmpty());
    EXPECT_TRUE(form.HandHistoryPage().LocalPage().LocalFolder->isReadOnly());
    EXPECT_EQ(form.size(), QSize(670, 480));
    EXPECT_TRUE(QFile::exists(f.DatabaseFolder() + QStringLiteral("/Kestrum2.db3")));
    // The Reports page starts without limits (the Rakeback page's own start on last month).
    for (auto* picker : form.ReportPage().findChildren<QDateTimeEdit*>()) {
        EXPECT_FALSE(picker->isEnabled()) << picker->objectName().toStdString();
        EXPECT_EQ(picker->text(), QStringLiteral(" ")) << picker->objectName().toStdString();
    }
    EXPECT_EQ(form.ReportPage().ReportList->currentText(), QStringLiteral("Clear"));
    EXPECT_EQ(form.ReportPage().ReportList->count(), 15);
    EXPECT_EQ(form.DataPage().MasterGrid->model()->rowCount(), 0);
}

TEST(MainForm, EveryControlExistsWithItsCaption)
{
    TWindowFixture f;
    TMainForm& form = f.Open();
    const struct
    {
        const char* Name;
        const char* Caption;
    } buttons[] = {
        {"RefreshBtn", "Get Hand History List"},
        {"LoadHHBtn", "View Selected File"},
        {"SelectAllBtn", "Select All Files"},
        {"ImportBtn", "Import Selected Files"},
        {"DBOpenBtn", "Open"},
        {"DBCloseBtn", "Close"},
        {"EmptyDBBtn", "Empty"},
        {"ExportBtn", "Export"},
        {"LoadSQLBtn", "Load"},
    };
    for (const auto& b : buttons) {
        auto* button = form.findChild<QPushButton*>(QLatin1String(b.Name));
        ASSERT_NE(button, nullptr) << b.Name;
        EXPECT_EQ(button->text(), QString::fromUtf8(b.Caption));
    }
    EXPECT_EQ(form.HandHistoryPage().RefreshBtn->size(), QSize(146, 38));
    EXPECT_EQ(form.DataPage().DBOpenBtn->size(), QSize(105, 25));
    EXPECT_EQ(form.ReportPage().LoadSQLBtn->width(), 49);
    const struct
    {
        QAbstractButton* Box;
        const char* Caption;
    } checks[] = {{form.HandHistoryPage().ShowRing, "Show Ring Games"},
                  {form.HandHistoryPage().ShowTrny, "Show Tournaments"},
                  {form.HandHistoryPage().ShowBoth, "Show Both"},
                  {form.HandHistoryPage().RemotePage().RememberPW, "Remember PW"},
                  {form.ReportPage().StartCB, "Start Date && Time"},
                  {form.ReportPage().EndCB, "End Date && Time"}};
    for (const auto& c : checks)
        EXPECT_EQ(c.Box->text(), QString::fromUtf8(c.Caption));
    EXPECT_EQ(form.PageControl1->tabText(0), QStringLiteral("Hand Histories"));
    EXPECT_EQ(form.PageControl1->tabText(1), QStringLiteral("Rake Database"));
    EXPECT_EQ(form.PageControl1->tabText(2), QStringLiteral("Reports"));
    EXPECT_EQ(form.HandHistoryPage().PageControl2->tabText(0), QStringLiteral("Local Hand History Files"));
    EXPECT_EQ(form.HandHistoryPage().PageControl2->tabText(1), QStringLiteral("Remote Hand History Files"));
    for (const char* name : {"ServerIP", "FilePort", "APIPath", "APIPW", "LocalFolder"})
        EXPECT_NE(form.findChild<QLineEdit*>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(form.HandHistoryPage().RemotePage().ServerIP->width(), 169);
    EXPECT_EQ(form.HandHistoryPage().RemotePage().FilePort->width(), 50);
    EXPECT_EQ(form.HandHistoryPage().RemotePage().APIPath->width(), 82);
    EXPECT_EQ(form.HandHistoryPage().RemotePage().APIPW->width(), 113);
    for (QListWidget* list :
         {form.HandHistoryPage().LocalPage().HHLocalList, form.HandHistoryPage().RemotePage().HHRemoteList}) {
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        EXPECT_TRUE(QFontInfo(list->font()).fixedPitch());
    }
    for (QTableView* grid :
         {form.DataPage().MasterGrid, form.DataPage().DetailGrid, form.ReportPage().ReportGrid})
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(form.ReportPage().ReportList->maxVisibleItems(), 16);
    EXPECT_FALSE(form.ReportPage().ReportList->isEditable());
}

TEST(MainForm, MinimumSizeAndSplitterHold)
{
    TWindowFixture f;
    TMainForm& form = f.Open();
    form.show();
    form.resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(form.size(), QSize(670, 480));
    form.resize(900, 700);
    form.PageControl1->setCurrentWidget(&form.DataPage());
    QApplication::processEvents();
    const QList<int> sizes = form.DataPage().DataSplitter->sizes();
    ASSERT_EQ(sizes.size(), 2);
    EXPECT_EQ(sizes[1], 123) << "the lower part keeps its height as the window grows";
    form.DataPage().DataSplitter->setSizes({sizes[0] + sizes[1] - 20, 20});
    EXPECT_GE(form.DataPage().DataSplitter->sizes()[1], 100) << "the lower part never gets below 100 pixels";
    f.Close();
}

TEST(MainForm, AFailedStartUpStepIsShownAndTheWindowStillOpens)
{
    TWindowFixture f;
    // A folder where the database file should be: it cannot be opened.
    QDir().mkpath(f.DatabaseFolder() + QStringLiteral("/Kestrum2.db3"));
    TMainForm& form = f.Open();
    ASSERT_EQ(f.Boxes.Boxes.size(), 1);
    EXPECT_EQ(f.Boxes.Boxes[0].Kind, QStringLiteral("unhandled"));
    EXPECT_TRUE(f.Boxes.Boxes[0].Text.startsWith(QStringLiteral("Cannot open file ")));
    // Later commands that need the database report their own error and the program goes on.
    form.DataPage().DBOpenBtn->click();
    ASSERT_EQ(f.Boxes.Boxes.size(), 2);
    EXPECT_EQ(f.Boxes.Boxes[1].Kind, QStringLiteral("unhandled"));
    form.DataPage().EmptyDBBtn->click();
    EXPECT_EQ(f.Boxes.Boxes.back().Kind, QStringLiteral("unhandled"));
    f.Close();
}
