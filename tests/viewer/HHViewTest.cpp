#include "viewer/HHView.h"
#include "import/StringList2.h"
#include "platform/Error.h"
#include "platform/SettingsStore.h"
#include "viewer/HHFunctions.h"
#include "viewer/HHViewModel.h"

#include "support/QtPrinters.h"
#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

QStringList NumberedLines(int count, int matchAt = -1)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << (i == matchAt ? QStringLiteral("Player Needle wins") : QStringLiteral("Line %1").arg(i));
    return lines;
}

class HHViewTest : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    QString IniPath() const { return Dir.filePath(QStringLiteral("Kestrum.ini")); }
    TSettingsStore Store{IniPath()};
    QWidget MainWindow;
    int Beeps = 0;

    std::unique_ptr<THHViewForm> MakeViewer(TSettingsStore& store)
    {
        auto viewer = std::make_unique<THHViewForm>(store, &MainWindow);
        viewer->SetBeepSound([this] { ++Beeps; });
        return viewer;
    }
    std::unique_ptr<THHViewForm> MakeViewer() { return MakeViewer(Store); }
    void WriteIni(const QByteArray& lines)
    {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\n" + lines);
    }
    // Opens the viewer modally and presses Escape on the given control once it is up.
    static void ShowAndEscape(THHViewForm& viewer, QWidget* control, const QStringList& lines)
    {
        QTimer::singleShot(0, [control] { QTest::keyClick(control, Qt::Key_Escape); });
        viewer.ShowLines(QStringLiteral("HH20240101 Table 1.txt"), lines);
    }
};

TEST_F(HHViewTest, PanelsAndCaptionFollowTheText)
{
    auto viewer = MakeViewer();
    EXPECT_EQ(viewer->windowTitle(), "View");
    EXPECT_TRUE(viewer->isHidden());
    struct Row
    {
        QStringList Lines;
        const char* Line;
        const char* Hands;
    };
    const Row rows[] = {{{}, "Line:  0 of 0", "Hands:  0"},
                        {{"Hand #1", " Hand #2", "hand #3", "Hand #4"}, "Line:  0 of 4", "Hands:  2"}};
    for (const Row& row : rows) {
        viewer->LoadLines(QStringLiteral("HH20240102 Table 7.txt"), row.Lines);
        viewer->show();
        EXPECT_EQ(viewer->LinePanel->text(), row.Line);
        EXPECT_EQ(viewer->HandsPanel->text(), row.Hands);
        EXPECT_EQ(viewer->windowTitle(), "HH20240102 Table 7.txt");
        viewer->hide();
    }
}

TEST_F(HHViewTest, EscapeInAnyControlClosesTheModalViewer)
{
    auto viewer = MakeViewer();
    for (QWidget* control :
         {static_cast<QWidget*>(viewer->SearchBox), static_cast<QWidget*>(viewer->HHViewer),
          static_cast<QWidget*>(viewer->NextBtn)}) {
        ShowAndEscape(*viewer, control, NumberedLines(5));
        EXPECT_FALSE(viewer->isVisible());
        EXPECT_TRUE(viewer->Lines().isEmpty()) << "the text is released at the close";
    }
}

TEST_F(HHViewTest, OnlyTheButtonSearches)
{
    auto viewer = MakeViewer();
    viewer->LoadLines(QStringLiteral("f"), NumberedLines(5, 3));
    viewer->show();
    QTest::keyClicks(viewer->SearchBox, QStringLiteral("NEEDLE"));
    QTest::keyClick(viewer->SearchBox, Qt::Key_Return);
    QTest::keyClick(viewer->SearchBox, Qt::Key_Enter);
    EXPECT_EQ(viewer->SelectedLine(), -1);
    EXPECT_TRUE(viewer->isVisible());
    QTest::mouseClick(viewer->NextBtn, Qt::LeftButton);
    EXPECT_EQ(viewer->SelectedLine(), 3);
    EXPECT_EQ(viewer->LinePanel->text(), "Line:  4 of 5");
    EXPECT_EQ(Beeps, 0);
}

TEST_F(HHViewTest, MouseAndKeyboardSelectionShowTheLine)
{
    auto viewer = MakeViewer();
    viewer->LoadLines(QStringLiteral("f"), NumberedLines(5));
    viewer->show();
    QListView* list = viewer->HHViewer;
    const QRect third = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(viewer->LinePanel->text(), "Line:  3 of 5");
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(viewer->LinePanel->text(), "Line:  4 of 5");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualRect(list->model()->index(3, 0)).center());
    EXPECT_EQ(viewer->LinePanel->text(), "Line:  0 of 5");
}

TEST_F(HHViewTest, FindScrollsTheMatchNearTheMiddleAndBeepsOnNone)
{
    auto viewer = MakeViewer();
    viewer->LoadLines(QStringLiteral("f"), NumberedLines(1000, 500));
    viewer->show();
    viewer->SearchBox->setText(QStringLiteral("needle"));
    viewer->NextBtnClick();
    ASSERT_EQ(viewer->SelectedLine(), 500);
    const int top = CentredTopLine(500, viewer->HHViewer->height(), THHViewForm::LineHeight);
    EXPECT_GT(top, 0);
    EXPECT_EQ(viewer->HHViewer->verticalScrollBar()->value(), top);
    EXPECT_EQ(viewer->LinePanel->text(), "Line:  501 of 1000");

    viewer->HHViewer->verticalScrollBar()->setValue(7);
    viewer->SearchBox->setText(QStringLiteral("nowhere"));
    viewer->NextBtnClick();
    EXPECT_EQ(Beeps, 1);
    EXPECT_EQ(viewer->SelectedLine(), 500);
    EXPECT_EQ(viewer->HHViewer->verticalScrollBar()->value(), 7);
}

// A file with very long lines opens: they are shown cut at 10,000 characters
// with the mark after them, and "Next" still finds text past the cut.
TEST_F(HHViewTest, VeryLongLinesAreShownCutAndFoundWhole)
{
    const QString pair = QString::fromUtf16(u"\U0001F0A1"); // two UTF-16 units
    const QString mark = QString::fromUtf16(ShownLineMark);
    struct TRow
    {
        QString Line;
        QString Shown;
    };
    const TRow rows[] = {
        {QStringLiteral("Hand #1"), QStringLiteral("Hand #1")},
        {QString(10'000, u'a'), QString(10'000, u'a')},
        {QString(10'001, u'b'), QString(10'000, u'b') + mark},
        {QString(9'999, u'c') + pair + "d", QString(9'999, u'c') + mark},
        {QString(3'000'000, u'e') + "Needle" + QString(1'000, u'e'), QString(10'000, u'e') + mark},
    };
    QByteArray bytes;
    for (const TRow& row : rows)
        bytes += row.Line.toUtf8() + "\r\n";
    const QString path = Dir.filePath(QStringLiteral("HH20240101 Long.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    TStringList2 lines;
    lines.LoadFromFile(path);
    ASSERT_EQ(lines.size(), qsizetype(std::size(rows)));

    auto viewer = MakeViewer();
    viewer->LoadLines(QStringLiteral("HH20240101 Long.txt"), lines);
    viewer->show();
    QCoreApplication::processEvents();
    const QAbstractItemModel* model = viewer->HHViewer->model();
    for (int i = 0; i < int(std::size(rows)); ++i) {
        EXPECT_EQ(model->data(model->index(i, 0), Qt::DisplayRole).toString(), rows[i].Shown) << i;
        EXPECT_EQ(viewer->Lines().at(i), rows[i].Line) << i;
    }
    const int charWidth = QFontMetrics(viewer->HHViewer->font()).horizontalAdvance(QLatin1Char('M'));
    EXPECT_LE(model->data(model->index(0, 0), Qt::SizeHintRole).toSize().width(), 10'100 * charWidth);
    viewer->SearchBox->setText(QStringLiteral("NEEDLE"));
    viewer->NextBtnClick();
    EXPECT_EQ(viewer->SelectedLine(), 4);
    EXPECT_EQ(viewer->HandsPanel->text(), "Hands:  1");
}

TEST_F(HHViewTest, EveryCloseWritesTheSizeSettings)
{
    auto viewer = MakeViewer();
    viewer->LoadLines(QStringLiteral("f"), NumberedLines(3));
    viewer->show();
    viewer->resize(640, 480);
    QTest::keyClick(viewer->SearchBox, Qt::Key_Escape);
    const auto stored = [this] {
        QStringList values;
        Store.Load([&](TSettingsReader& r) {
            for (const QString& name :
                 {SettingNames::ViewWidth, SettingNames::ViewHeight, SettingNames::ViewMax})
                values << r.ReadText(name, QStringLiteral("<absent>"));
        });
        return values;
    };
    EXPECT_EQ(stored(), (QStringList{"640", "480", "0"}));

    viewer->showMaximized();
    ASSERT_TRUE(viewer->isMaximized());
    viewer->close();
    EXPECT_EQ(stored(), (QStringList{"640", "480", "1"})) << "the size from before it was maximised";

    viewer->show();
    viewer->setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    viewer->close();
    EXPECT_EQ(stored(), (QStringList{"640", "480", "0"})) << "minimised counts as not maximised";
}

TEST_F(HHViewTest, StoredSizesAreAppliedAtCreation)
{
    struct Row
    {
        QByteArray Ini;
        QSize Size;
        bool Maximized;
    };
    const Row rows[] = {{"ViewWidth=abc\nViewHeight=-5\n", QSize(584, 442), false},
                        {"ViewWidth=0\n", QSize(584, 442), false},
                        {"ViewWidth=200\nViewHeight=100\n", QSize(300, 240), false},
                        {"ViewWidth=700\nViewHeight=500\nViewMax=7\n", QSize(700, 500), true}};
    for (const Row& row : rows) {
        WriteIni(row.Ini);
        TSettingsStore store(IniPath());
        auto viewer = MakeViewer(store);
        EXPECT_EQ(viewer->CreateError(), "");
        EXPECT_EQ(viewer->size(), row.Size) << row.Ini.toStdString();
        EXPECT_EQ(QSize(viewer->RememberedSize().Width(), viewer->RememberedSize().Height()), row.Size);
        viewer->show();
        EXPECT_EQ(viewer->isMaximized(), row.Maximized) << row.Ini.toStdString();
    }
}

TEST_F(HHViewTest, AValueThatIsNotTextStopsTheReadingButNotTheWindow)
{
    WriteIni("ViewWidth=700\nViewHeight=a, b\nViewMax=1\n");
    auto viewer = MakeViewer();
    EXPECT_EQ(viewer->CreateError(), "Invalid data type for 'ViewHeight'");
    EXPECT_EQ(viewer->size(), QSize(700, 442));
    EXPECT_FALSE(viewer->windowState() & Qt::WindowMaximized);
}

TEST_F(HHViewTest, AFailedSaveIsRaisedAfterTheViewerClosed)
{
    ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("blocked.ini")));
    TSettingsStore blocked(Dir.filePath(QStringLiteral("blocked.ini")));
    auto viewer = MakeViewer(blocked);
    QString error;
    try {
        ShowAndEscape(*viewer, viewer->SearchBox, {});
    } catch (const TError& e) {
        error = e.Message();
    }
    EXPECT_EQ(error, "Failed to create key " + blocked.FilePath());
    EXPECT_FALSE(viewer->isVisible());
}

TEST_F(HHViewTest, OnlyTheFirstOpeningCentresOverTheMainWindow)
{
    MainWindow.setGeometry(100, 80, 900, 700);
    MainWindow.show();
    auto viewer = MakeViewer();
    viewer->LoadLines(QStringLiteral("first"), {});
    EXPECT_EQ(viewer->pos(), QPoint(100 + (900 - 584) / 2, 80 + (700 - 442) / 2));
    viewer->move(5, 6);
    viewer->LoadLines(QStringLiteral("second"), {});
    EXPECT_EQ(viewer->pos(), QPoint(5, 6));
}

TEST(HHViewModelTest, PassesTheModelTesterAndSizesRowsByTheLongestLine)
{
    THHViewModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetLines({QStringLiteral("ab"), QStringLiteral("abcdefghij"), QString()}, 7, 15);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(1), Qt::DisplayRole).toString(), "abcdefghij");
    EXPECT_EQ(model.data(model.index(2), Qt::SizeHintRole).toSize().height(), 15);
    EXPECT_GE(model.ItemSize().width(), 70);
    model.SetLines({}, 7, 15);
    EXPECT_EQ(model.rowCount(), 0);
}

} // namespace
