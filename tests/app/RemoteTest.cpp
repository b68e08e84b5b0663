// The remote page against the local test server.
#include "QueuedClick.h"
#include "WindowFixture.h"
#include "sources/TestServer.h"
#include "support/HandGenerator.h"
#include "support/QtPrinters.h"
#include "viewer/HHView.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

using TBox = TRecordingBoxes::TBox;

namespace {
class Remote : public ::testing::Test
{
protected:
    TWindowFixture F;
    TTestServer Server;
    QMap<QString, int> Raked; // entry -> raked hands

    void AddFiles(int count, bool tournament = false)
    {
        THandGenerator generator(5);
        for (int i = 0; i < count; ++i) {
            TGeneratedFile file = generator.MakeFile(QStringLiteral("Table%1").arg(i + 1), QDate(2026, 11, 3),
                                                     12, 100 * (i + 1), tournament);
            Server.AddFile(file.FileName, EncodeHandHistory(file.Lines));
            Raked[file.FileName] = file.Expected.size();
        }
    }
    TMainForm& Connect(const QStringList& options = {})
    {
        EXPECT_TRUE(Server.Start(options));
        TMainForm& form = F.Open();
        F.Show();
        form.HandHistoryPage().PageControl2->setCurrentWidget(&form.HandHistoryPage().RemotePage());
        form.HandHistoryPage().RemotePage().FilePort->setText(QString::number(Server.Port()));
        form.HandHistoryPage().RemotePage().APIPW->setText(QLatin1String(TTestServer::Password));
        return form;
    }
    void TearDown() override { F.Close(); }
};

QStringList Items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}
} // namespace

TEST_F(Remote, FiveSelectedAndTheThirdFetchFails)
{
    AddFiles(5);
    TMainForm& form = Connect({QStringLiteral("--fail-name"), QStringLiteral("Table3")});
    form.HandHistoryPage().ShowBoth->click();
    form.HandHistoryPage().RefreshBtn->click();
    ASSERT_EQ(form.HandHistoryPage().RemotePage().HHRemoteList->count(), 5);
    EXPECT_EQ(form.HandHistoryPage().RemotePage().RFileLabel->text(), QStringLiteral("Files:  5"));
    // The server's order decides the list; find where Table3 stands.
    const QStringList entries = Items(form.HandHistoryPage().RemotePage().HHRemoteList);
    const int failing = entries.indexOf(QStringLiteral("HH2026-11-03 Table3.txt"));
    ASSERT_GE(failing, 0);
    form.HandHistoryPage().SelectAllBtn->click();
    TStatusRecorder status(form.HandHistoryPage().HHStatus);
    form.HandHistoryPage().ImportBtn->click();
    QStringList expected;
    int count = 0;
    for (int k = 0; k <= failing; ++k)
        expected << QStringLiteral("Retrieving (%1 of 5):  %2").arg(k + 1).arg(entries[k]);
    for (int k = 0; k < failing; ++k)
        count += Raked[entries[k]];
    expected << QStringLiteral("Updating database ...") << QString();
    EXPECT_EQ(status.Shown, expected);
    ASSERT_EQ(F.Boxes.Boxes.size(), 2);
    EXPECT_EQ(F.Boxes.Boxes[0].Kind, QStringLiteral("error"));
    EXPECT_FALSE(F.Boxes.Boxes[0].Text.isEmpty());
    EXPECT_EQ(F.Boxes.Boxes[1], (TBox{"plain", QStringLiteral("Raked hands imported:  %1").arg(count)}));
    form.DataPage().DBOpenBtn->click();
    EXPECT_EQ(form.DataPage().MasterStatus->text(),
              QStringLiteral("Master record %1 of %2").arg(count ? 1 : 0).arg(count));
}

TEST_F(Remote, EntriesAreFetchedInListOrder)
{
    AddFiles(4);
    TMainForm& form = Connect();
    form.HandHistoryPage().RefreshBtn->click();
    ASSERT_EQ(form.HandHistoryPage().RemotePage().HHRemoteList->count(), 4);
    const QStringList entries = Items(form.HandHistoryPage().RemotePage().HHRemoteList);
    form.HandHistoryPage().RemotePage().HHRemoteList->item(3)->setSelected(true);
    form.HandHistoryPage().RemotePage().HHRemoteList->item(0)->setSelected(true);
    const int before = Server.Requests().size();
    form.HandHistoryPage().ImportBtn->click();
    const QList<QByteArray> requests = Server.Requests().mid(before);
    ASSERT_EQ(requests.size(), 2);
    auto nameOf = [](const QString& entry) { return entry.mid(13, entry.size() - 17).toUtf8(); };
    EXPECT_TRUE(requests[0].contains("&Name=" + nameOf(entries[0])));
    EXPECT_TRUE(requests[1].contains("&Name=" + nameOf(entries[3])));
}

TEST_F(Remote, TournamentFilterWithoutTournamentsThenBoth)
{
    AddFiles(3);
    TMainForm& form = Connect();
    form.HandHistoryPage().ShowTrny->click();
    form.HandHistoryPage().RefreshBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"information", "No files found"}}));
    EXPECT_EQ(form.HandHistoryPage().RemotePage().RFileLabel->text(), QStringLiteral("Files:  0"));
    form.HandHistoryPage().ShowBoth->click();
    EXPECT_EQ(form.HandHistoryPage().RemotePage().HHRemoteList->count(), 3);
    EXPECT_EQ(form.HandHistoryPage().RemotePage().Files.Both,
              Items(form.HandHistoryPage().RemotePage().HHRemoteList));
}

TEST_F(Remote, ServerDownAndTheChecks)
{
    TMainForm& form = Connect();
    Server.Stop();
    form.HandHistoryPage().RemotePage().Files.Add(QStringLiteral("HH2026-11-03 Old.txt"));
    form.HandHistoryPage().RefreshBtn->click();
    const QString url = QStringLiteral("http://127.0.0.1:%1/api").arg(Server.Port());
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "Could not connect to " + url}}));
    EXPECT_EQ(form.HandHistoryPage().RemotePage().HHRemoteList->count(), 0);
    EXPECT_EQ(form.HandHistoryPage().RemotePage().RFileLabel->text(), QStringLiteral("Files:  0"));
    EXPECT_TRUE(form.HandHistoryPage().HHStatus->text().isEmpty());

    F.Boxes.Boxes.clear();
    form.HandHistoryPage().RemotePage().ServerIP->setText(QStringLiteral(" \t "));
    form.HandHistoryPage().RefreshBtn->click();
    form.HandHistoryPage().RemotePage().HHRemoteList->addItem(QStringLiteral("HH2026-11-03 X.txt"));
    form.HandHistoryPage().RemotePage().HHRemoteList->item(0)->setSelected(true);
    form.HandHistoryPage().ImportBtn->click();
    form.HandHistoryPage().LoadHHBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "No IP specified"},
                                            {"information", "No IP specified"},
                                            {"information", "No IP specified"}}));
}

TEST_F(Remote, ViewRefusesTwoAndShowsOneWithoutCursorOrStatus)
{
    AddFiles(2);
    TMainForm& form = Connect();
    form.HandHistoryPage().ShowBoth->click();
    form.HandHistoryPage().RefreshBtn->click();
    ASSERT_EQ(form.HandHistoryPage().RemotePage().HHRemoteList->count(), 2);
    form.HandHistoryPage().SelectAllBtn->click();
    const int before = Server.Requests().size();
    form.HandHistoryPage().LoadHHBtn->click();
    EXPECT_EQ(F.Boxes.Boxes.back(), (TBox{"error", "More than 1 history file selected"}));
    EXPECT_EQ(Server.Requests().size(), before) << "refused before any exchange";

    form.HandHistoryPage().RemotePage().HHRemoteList->clearSelection();
    form.HandHistoryPage().RemotePage().HHRemoteList->setCurrentRow(1, QItemSelectionModel::Select);
    form.HandHistoryPage().HHStatus->setText(QStringLiteral("as it was"));
    form.HandHistoryPage().HHStatus->repaint();
    TStatusRecorder status(form.HandHistoryPage().HHStatus);
    bool cursorShown = true;
    QString caption;
    // Timers also run while the fetch waits, so this one acts once the viewer is up.
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (!form.HHViewForm().isVisible())
            return;
        closer.stop();
        cursorShown = QApplication::overrideCursor() != nullptr;
        caption = form.HHViewForm().windowTitle();
        form.HHViewForm().close();
    });
    closer.start();
    form.HandHistoryPage().LoadHHBtn->click();
    EXPECT_FALSE(cursorShown);
    EXPECT_EQ(caption, form.HandHistoryPage().RemotePage().HHRemoteList->item(1)->text());
    // The line is repainted while the fetch waits, but never with a text of the view's own.
    status.Shown.removeAll(QStringLiteral("as it was"));
    EXPECT_TRUE(status.Shown.isEmpty()) << status.Shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form.HandHistoryPage().HHStatus->text(), QStringLiteral("as it was"));
}

// While the server is slow the window keeps running its timers and painting,
// but a click made meanwhile reaches its control only once the list is in.
TEST_F(Remote, AClickDuringTheWaitChangesNothingUntilTheListIsIn)
{
    AddFiles(2, true);
    TMainForm& form = Connect({QStringLiteral("--trickle-ms"), QStringLiteral("10")});
    TStatusRecorder status(form.HandHistoryPage().HHStatus);
    TClickDuringWait seen;
    ClickDuringTheWait(form.HandHistoryPage().HHStatus, form.HandHistoryPage().ShowTrny, seen);
    form.HandHistoryPage().RefreshBtn->click();
    EXPECT_EQ(seen.Status, QStringLiteral("Retrieving hand history list ..."))
        << "the timer ran during the wait";
    EXPECT_FALSE(seen.CheckedRightAfter);
    EXPECT_FALSE(form.HandHistoryPage().ShowTrny->isChecked())
        << "no click reaches a control before the list is in";
    EXPECT_EQ(form.HandHistoryPage().RemotePage().HHRemoteList->count(), 0) << "the ring filter still holds";
    EXPECT_TRUE(status.Shown.contains(QStringLiteral("Retrieving hand history list ...")));
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.HandHistoryPage().ShowTrny->isChecked()) << "the click was held back, not lost";
    EXPECT_EQ(form.HandHistoryPage().RemotePage().HHRemoteList->count(), 2);
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"information", "No files found"}}))
        << "none of them a ring game";
}
