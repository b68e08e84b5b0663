// The "Rake Database" and "Reports" pages through the real window.
#include "WindowFixture.h"
#include "app/ChartWindow.h"
#include "app/Pickers.h"
#include "db/RakeDatabase.h"
#include "platform/Clock.h"
#include "support/HandGenerator.h"
#include "support/QtPrinters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using TBox = TRecordingBoxes::TBox;

namespace {
class Pages : public ::testing::Test
{
protected:
    TWindowFixture F;
    int Raked = 0;
    qint32 MaxHand = 0;

    // A window over a database holding two imported files.
    TMainForm& WithHands()
    {
        const QString folder = F.Dir.filePath(QStringLiteral("hh"));
        QDir().mkpath(folder);
        THandGenerator generator(11);
        for (int i = 0; i < 2; ++i) {
            TGeneratedFile file = generator.MakeFile(QStringLiteral("Table %1").arg(i),
                                                     QDate(2026, 11, 3 + i), 30, 500 + 100 * i);
            WriteHandHistory(folder + QLatin1Char('/') + file.FileName, file.Lines);
            Raked += file.Expected.size();
            for (const auto& hand : file.Expected)
                MaxHand = std::max(MaxHand, hand.Hand);
        }
        TMainForm& form = F.Open();
        F.Show();
        F.PickerAnswer = folder;
        form.HandHistoryPage().RefreshBtn->click();
        form.HandHistoryPage().SelectAllBtn->click();
        form.HandHistoryPage().ImportBtn->click();
        EXPECT_EQ(F.Boxes.Boxes.back(),
                  (TBox{"plain", QStringLiteral("Raked hands imported:  %1").arg(Raked)}));
        F.Boxes.Boxes.clear();
        return form;
    }
    static QString Cell(QTableView* grid, int row, int column)
    {
        return grid->model()->index(row, column).data().toString();
    }
    void TearDown() override
    {
        Clock::SetTodaySource({});
        F.Close();
    }
};
} // namespace

TEST_F(Pages, OpenOnAnEmptyDatabaseShowsZeroPositions)
{
    TMainForm& form = F.Open();
    form.DataPage().DBOpenBtn->click();
    EXPECT_EQ(form.DataPage().MasterStatus->text(), QStringLiteral("Master record 0 of 0"));
    EXPECT_EQ(form.DataPage().DetailStatus->text(), QStringLiteral("Detail record 0 of 0"));
    form.DataPage().DBCloseBtn->click();
    EXPECT_TRUE(form.DataPage().MasterStatus->text().isEmpty());
    EXPECT_TRUE(form.DataPage().DetailStatus->text().isEmpty());
    EXPECT_TRUE(F.Boxes.Boxes.isEmpty());
}

TEST_F(Pages, TitleClicksSortAndTheDetailFollowsTheMaster)
{
    TMainForm& form = WithHands();
    ASSERT_GT(Raked, 2);
    // A click while closed opens; the first click on Hand reverses the order.
    form.DataPage().MasterGrid->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(form.DataPage().MasterStatus->text(), QStringLiteral("Master record 1 of %1").arg(Raked));
    EXPECT_EQ(Cell(form.DataPage().MasterGrid, 0, 0), QString::number(MaxHand));
    EXPECT_TRUE(form.DataPage()
                    .MasterGrid->model()
                    ->headerData(0, Qt::Horizontal, Qt::FontRole)
                    .value<QFont>()
                    .bold());
    form.DataPage().MasterGrid->horizontalHeader()->sectionClicked(4); // Rake, ascending
    EXPECT_FALSE(form.DataPage()
                     .MasterGrid->model()
                     ->headerData(0, Qt::Horizontal, Qt::FontRole)
                     .value<QFont>()
                     .bold());
    EXPECT_TRUE(form.DataPage()
                    .MasterGrid->model()
                    ->headerData(4, Qt::Horizontal, Qt::FontRole)
                    .value<QFont>()
                    .bold());
    const double first = Cell(form.DataPage().MasterGrid, 0, 4).toDouble();
    const double last = Cell(form.DataPage().MasterGrid, Raked - 1, 4).toDouble();
    EXPECT_LE(first, last);
    EXPECT_EQ(form.DataPage().MasterGrid->columnWidth(4), 100);
    EXPECT_TRUE(Cell(form.DataPage().MasterGrid, 0, 4).contains(QLatin1Char('.')));
    // Moving the master row moves the detail view to the new hand's first row.
    form.DataPage().MasterGrid->setFocus();
    form.DataPage().MasterGrid->selectRow(2);
    const QString hand = Cell(form.DataPage().MasterGrid, 2, 0);
    const QString dealt = Cell(form.DataPage().MasterGrid, 2, 5);
    EXPECT_EQ(form.DataPage().MasterStatus->text(), QStringLiteral("Master record 3 of %1").arg(Raked));
    EXPECT_EQ(form.DataPage().DetailStatus->text(), QStringLiteral("Detail record 1 of %1").arg(dealt));
    for (int r = 0; r < form.DataPage().DetailGrid->model()->rowCount(); ++r)
        EXPECT_EQ(Cell(form.DataPage().DetailGrid, r, 0), hand);
}

TEST_F(Pages, EmptyAsksFirstAndCancelChangesNothing)
{
    TMainForm& form = WithHands();
    form.DataPage().DBOpenBtn->click();
    F.Boxes.ConfirmAnswer = false;
    form.DataPage().EmptyDBBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"confirm", "Remove all records from database?"}}));
    EXPECT_EQ(form.DataPage().MasterStatus->text(), QStringLiteral("Master record 1 of %1").arg(Raked));
    F.Boxes.ConfirmAnswer = true;
    form.DataPage().EmptyDBBtn->click();
    EXPECT_TRUE(form.DataPage().MasterStatus->text().isEmpty());
    form.DataPage().DBOpenBtn->click();
    EXPECT_EQ(form.DataPage().MasterStatus->text(), QStringLiteral("Master record 0 of 0"));
}

// A read that never ends (a recursion that yields no row) keeps the window
// drawn, shows its seconds after the first one, ignores other commands and
// stops on Escape within a second.
TEST_F(Pages, ALongReadStaysDrawnIgnoresCommandsAndStopsOnEscape)
{
    const QString endless =
        QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) ");
    struct TCase
    {
        const char* Name;
        QWidget* Page;
        QList<QLabel*> Lines;
        QStringList Texts;
        const char* Cancel;
        QPushButton *Other, *Start;
        QTableView* Grid;
    };
    for (int which = 0; which < 3; ++which) {
        TMainForm& form = F.Open();
        F.Show();
        auto& data = form.DataPage();
        auto& reports = form.ReportPage();
        auto& rakeback = form.RakebackPage();
        // The reads of Open and, later, of the statement meet a Detail that never ends.
        if (which == 1)
            form.Parts().RakeDatabase->Execute(
                QStringLiteral("DROP TABLE Detail; CREATE VIEW Detail AS ") + endless +
                "SELECT x AS Hand, 'p' AS Player, 0.5 AS Share FROM c WHERE x = 0;");
        if (which == 2) {
            // A hand in the statement's default period, the month before, whose
            // shares the engine looks for by its number and never finds.
            const QDate day = Clock::Today().addMonths(-1);
            form.Parts().RakeDatabase->Execute(
                QStringLiteral("INSERT INTO Master VALUES (1, 'T', '%1', '10:00:00', 1.0, 1, 1.0); "
                               "DROP VIEW Detail; CREATE VIEW Detail AS ")
                    .arg(QDate(day.year(), day.month(), 15).toString(Qt::ISODate)) +
                endless + "SELECT x - x + 1 AS Hand, 'p' AS Player, 0.5 AS Share FROM c WHERE x - x = 1;");
        }
        reports.SQLMemo->setPlainText(endless + "SELECT COUNT(*) FROM c");
        const TCase cases[] = {
            {"report",
             &reports,
             {reports.ReportStatus},
             {"Performing query ..."},
             "ReportCancelBtn",
             reports.ExportBtn,
             reports.LoadSQLBtn,
             reports.ReportGrid},
            {"open",
             &data,
             {data.MasterStatus, data.DetailStatus},
             {"Loading Master table ...", "Loading Detail table ..."},
             "DBCancelBtn",
             data.EmptyDBBtn,
             data.DBOpenBtn,
             data.MasterGrid},
            {"rakeback",
             &rakeback,
             {rakeback.RakebackStatus},
             {"Calculating"},
             "RBCancelBtn",
             rakeback.ExportCsvBtn,
             rakeback.CalculateBtn,
             rakeback.RakebackGrid},
        };
        const TCase& c = cases[which];
        SCOPED_TRACE(c.Name);
        form.PageControl1->setCurrentWidget(c.Page);
        QElapsedTimer clock;
        qint64 escapedAt = -1;
        int ticks = 0;
        QStringList seen;
        bool cancelShown = false;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            ++ticks;
            seen << c.Lines.constFirst()->text();
            QPushButton* cancel = c.Page->findChild<QPushButton*>(c.Cancel);
            cancelShown = cancelShown || (cancel && cancel->isVisible());
            if (clock.elapsed() >= 1300 && escapedAt < 0) {
                c.Other->click(); // refused: no box
                escapedAt = clock.elapsed();
                if (which == 1) // the button, as a user clicks it
                    QTest::mouseClick(cancel, Qt::LeftButton);
                else
                    QTest::keyClick(c.Grid, Qt::Key_Escape);
            }
        });
        probe.start(50);
        // Were the read to block the window, nothing above would run: stop it
        // from here after a while so the test fails instead of hanging.
        std::atomic<bool> ended{false};
        std::thread watchdog([&] {
            for (int i = 0; i < 100 && !ended; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (!ended)
                form.Parts().RakeDatabase->Interrupt();
        });
        clock.start();
        c.Start->click();
        const qint64 stopped = clock.elapsed();
        ended = true;
        watchdog.join();
        probe.stop();
        ASSERT_GE(escapedAt, 0);
        EXPECT_LT(stopped - escapedAt, 1000);
        EXPECT_GE(ticks, int(escapedAt / 200)) << "drawn at least five times a second";
        EXPECT_TRUE(seen.contains(c.Texts.constFirst() + " 1 s")) << seen.join('|').toStdString();
        EXPECT_FALSE(seen.contains(c.Texts.constFirst() + " 0 s"));
        EXPECT_TRUE(cancelShown);
        const QPushButton* after = c.Page->findChild<QPushButton*>(c.Cancel);
        EXPECT_TRUE(!after || after->isHidden());
        for (QLabel* line : c.Lines)
            EXPECT_EQ(line->text(), QStringLiteral("Query cancelled"));
        EXPECT_EQ(c.Grid->model()->rowCount(), 0);
        EXPECT_TRUE(F.Boxes.Boxes.isEmpty());
        F.Close();
    }
}

TEST_F(Pages, ReportsRunOnLoadOnlyAndExportNeedsALoadedTable)
{
    Clock::SetTodaySource([] { return QDate(2026, 11, 3); });
    TMainForm& form = WithHands();
    form.ReportPage().ReportList->setCurrentIndex(
        form.ReportPage().ReportList->findText(QStringLiteral("Rake by Table")));
    EXPECT_TRUE(form.ReportPage().SQLMemo->toPlainText().startsWith(
        QStringLiteral("SELECT TableName, COUNT(DISTINCT Player)")));
    EXPECT_EQ(form.ReportPage().ReportGrid->model()->columnCount(), 0);
    form.ReportPage().LoadSQLBtn->click();
    EXPECT_EQ(form.ReportPage().ReportStatus->text(), QStringLiteral("Report record 1 of 2"));
    EXPECT_EQ(form.ReportPage().ReportGrid->model()->columnCount(), 4);
    EXPECT_EQ(form.ReportPage().ReportGrid->columnWidth(3), 120);

    // A limit empties the grid and the status until Load.
    form.ReportPage().EndCB->click();
    EXPECT_TRUE(form.ReportPage().EndDate->isEnabled());
    EXPECT_EQ(form.ReportPage().EndDate->text(), QStringLiteral("2026-11-03"));
    EXPECT_EQ(form.ReportPage().EndTime->text(), QStringLiteral("23:59:59"));
    EXPECT_TRUE(form.ReportPage().SQLMemo->toPlainText().contains(
        QStringLiteral(" WHERE (Date = '2026-11-03' AND Time <= '23:59:59') OR Date < '2026-11-03'")));
    EXPECT_EQ(form.ReportPage().ReportGrid->model()->columnCount(), 0);
    EXPECT_TRUE(form.ReportPage().ReportStatus->text().isEmpty());
    F.SaveAnswer = F.Dir.filePath(QStringLiteral("out.csv"));
    form.ReportPage().ExportBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "Report table is empty"}}));
    EXPECT_FALSE(QFile::exists(F.SaveAnswer));

    form.ReportPage().LoadSQLBtn->click();
    EXPECT_EQ(form.ReportPage().ReportStatus->text(), QStringLiteral("Report record 1 of 1"));
    form.ReportPage().EndDate->setDate(QDate(2026, 11, 4)); // a picker change rebuilds and empties
    EXPECT_EQ(form.ReportPage().ReportGrid->model()->columnCount(), 0);
    form.ReportPage().LoadSQLBtn->click();
    EXPECT_EQ(form.ReportPage().ReportStatus->text(), QStringLiteral("Report record 1 of 2"));
    form.ReportPage().ReportGrid->selectRow(1);
    EXPECT_EQ(form.ReportPage().ReportStatus->text(), QStringLiteral("Report record 2 of 2"));
    F.Boxes.Boxes.clear();
    form.ReportPage().ExportBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"information", "Report table saved"}}));
    EXPECT_EQ(form.ReportPage().ReportStatus->text(), QStringLiteral("Report record 1 of 2"))
        << "back on the first row";
    QFile csv(F.SaveAnswer);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(csv.readAll().startsWith("\"TableName\",\"Players\",\"Hands\",\"Rake\"\r\n\"Table "));

    // Unchecked: the pickers look empty again and the limit is gone.
    form.ReportPage().EndCB->click();
    EXPECT_EQ(form.ReportPage().EndDate->text(), QStringLiteral(" "));
    EXPECT_FALSE(form.ReportPage().EndDate->isEnabled());
    EXPECT_FALSE(form.ReportPage().SQLMemo->toPlainText().contains(QStringLiteral("WHERE")));
}

// Characters a plain-text conversion would change reach the engine as typed:
// the quoted name comes back as the column's title.
TEST_F(Pages, TheSqlBoxTextReachesTheEngineUnchanged)
{
    TMainForm& form = F.Open();
    for (const QString& name : {QStringLiteral("no\u00A0break"), QStringLiteral("line\u2028separator"),
                                QStringLiteral("tab\tand  blanks")}) {
        form.ReportPage().SQLMemo->setPlainText(QStringLiteral("SELECT 1 AS \"%1\"").arg(name));
        form.ReportPage().LoadSQLBtn->click();
        EXPECT_EQ(form.ReportPage().ReportGrid->model()->headerData(0, Qt::Horizontal).toString(), name);
    }
    EXPECT_TRUE(F.Boxes.Boxes.isEmpty());
}

TEST_F(Pages, TheSqlBoxTakesNoLineBreakAndErrorsKeepTheStatus)
{
    TMainForm& form = F.Open();
    F.Show();
    form.ReportPage().SQLMemo->setFocus();
    QTest::keyClicks(form.ReportPage().SQLMemo, QStringLiteral("SELEC"));
    QTest::keyClick(form.ReportPage().SQLMemo, Qt::Key_Return);
    EXPECT_EQ(form.ReportPage().SQLMemo->toPlainText(), QStringLiteral("SELEC"));
    form.ReportPage().LoadSQLBtn->click();
    EXPECT_EQ(F.Boxes.Boxes,
              (QVector<TBox>{{"unhandled", "SQLite3 Error 1 - near \"SELEC\": syntax error."}}));
    EXPECT_TRUE(form.ReportPage().ReportStatus->text().isEmpty())
        << "a rejected text fails before the query notice";
    form.ReportPage().SQLMemo->setPlainText(QStringLiteral("DELETE FROM Detail"));
    form.ReportPage().LoadSQLBtn->click();
    EXPECT_EQ(form.ReportPage().ReportStatus->text(), QStringLiteral("Report record 0 of 0"));
    EXPECT_EQ(form.ReportPage().ReportGrid->model()->columnCount(), 0);
}

namespace {
void ClickTitle(QTableView* grid, int column)
{
    QHeaderView* header = grid->horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
    QCoreApplication::processEvents(); // the arrow is settled once the click is through
}

struct TArrow
{
    bool Shown;
    int Column;
    Qt::SortOrder Order;
    bool operator==(const TArrow&) const = default;
};
void PrintTo(const TArrow& a, std::ostream* os)
{
    *os << (a.Shown ? "shown on " : "hidden, ") << a.Column
        << (a.Order == Qt::AscendingOrder ? " asc" : " desc");
}
TArrow Arrow(QTableView* grid)
{
    const QHeaderView* h = grid->horizontalHeader();
    return {h->isSortIndicatorShown(), h->sortIndicatorSection(), h->sortIndicatorOrder()};
}
} // namespace

// Both grids show the sort arrow; the report grid sorts its loaded rows by a
// clicked title, and Export writes them as shown.
TEST_F(Pages, GridsShowTheirOrderAndTheReportSortsByAClickedTitle)
{
    TMainForm& form = WithHands();
    form.PageControl1->setCurrentWidget(&form.DataPage());
    form.DataPage().DBOpenBtn->click();
    EXPECT_EQ(Arrow(form.DataPage().MasterGrid), (TArrow{true, 0, Qt::AscendingOrder}));
    ClickTitle(form.DataPage().MasterGrid, 4);
    EXPECT_EQ(Arrow(form.DataPage().MasterGrid), (TArrow{true, 4, Qt::AscendingOrder}));
    ClickTitle(form.DataPage().MasterGrid, 4);
    EXPECT_EQ(Arrow(form.DataPage().MasterGrid), (TArrow{true, 4, Qt::DescendingOrder}));
    EXPECT_TRUE(form.DataPage()
                    .MasterGrid->model()
                    ->headerData(4, Qt::Horizontal, Qt::FontRole)
                    .value<QFont>()
                    .bold());

    form.PageControl1->setCurrentWidget(&form.ReportPage());
    form.ReportPage().ReportList->setCurrentIndex(
        form.ReportPage().ReportList->findText(QStringLiteral("Rake by Table")));
    form.ReportPage().LoadSQLBtn->click();
    EXPECT_FALSE(Arrow(form.ReportPage().ReportGrid).Shown) << "the query's own order";
    const auto tables = [&] {
        return QStringList{Cell(form.ReportPage().ReportGrid, 0, 0),
                           Cell(form.ReportPage().ReportGrid, 1, 0)};
    };
    const QStringList ascending{"Table 0", "Table 1"}, descending{"Table 1", "Table 0"};
    form.ReportPage().ReportGrid->selectRow(1);
    ClickTitle(form.ReportPage().ReportGrid, 0);
    EXPECT_EQ(tables(), ascending);
    EXPECT_EQ(Arrow(form.ReportPage().ReportGrid), (TArrow{true, 0, Qt::AscendingOrder}));
    EXPECT_EQ(form.ReportPage().ReportStatus->text(), QStringLiteral("Report record 1 of 2"));
    ClickTitle(form.ReportPage().ReportGrid, 0);
    EXPECT_EQ(tables(), descending);
    EXPECT_EQ(Arrow(form.ReportPage().ReportGrid), (TArrow{true, 0, Qt::DescendingOrder}));
    EXPECT_TRUE(form.ReportPage().ReportGrid->model()->headerData(0, Qt::Horizontal, Qt::FontRole).isNull())
        << "no bold here";

    F.SaveAnswer = F.Dir.filePath(QStringLiteral("sorted.csv"));
    form.ReportPage().ExportBtn->click();
    QFile csv(F.SaveAnswer);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith("\"Table 1\"")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("\"Table 0\"")) << lines[2].toStdString();

    form.ReportPage().LoadSQLBtn->click();
    EXPECT_EQ(tables(), ascending) << "Load runs the query in its own order again";
    EXPECT_FALSE(Arrow(form.ReportPage().ReportGrid).Shown);
}

namespace {
// Clicks Chart and runs check on the modal chart window, which it then closes.
// True when the window opened.
bool WithChart(TMainForm& form, const std::function<void(TChartWindow&)>& check)
{
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto* chart = qobject_cast<TChartWindow*>(QApplication::activeModalWidget())) {
            opened = true;
            check(*chart);
            chart->CloseBtn->click();
        }
    });
    form.ReportPage().ChartBtn->click();
    QCoreApplication::processEvents();
    return opened;
}

double TopBar(TChartWindow& chart) // a ranking's top bar is the set's last value
{
    const auto* series = qobject_cast<QAbstractBarSeries*>(chart.Chart()->series().at(0));
    const QBarSet* set = series->barSets().at(0);
    return set->at(set->count() - 1);
}
} // namespace

TEST_F(Pages, ChartShowsTheLoadedReportAndSavesItsPicture)
{
    Clock::SetTodaySource([] { return QDate(2026, 11, 3); });
    TMainForm& form = WithHands();
    EXPECT_FALSE(WithChart(form, [](TChartWindow&) {}));
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "Report table is empty"}}));

    form.ReportPage().ReportList->setCurrentIndex(
        form.ReportPage().ReportList->findText(QStringLiteral("Proportional Rake by Player")));
    form.ReportPage().LoadSQLBtn->click();
    double mostHands = 0;
    for (int row = 0; row < form.ReportPage().ReportGrid->model()->rowCount(); ++row)
        mostHands = std::max(mostHands, Cell(form.ReportPage().ReportGrid, row, 2).toDouble());
    F.SaveAnswer = F.Dir.filePath(QStringLiteral("chart.png"));
    EXPECT_TRUE(WithChart(form, [&](TChartWindow& chart) {
        EXPECT_EQ(chart.windowTitle(), QStringLiteral("Chart - Proportional Rake by Player"));
        EXPECT_EQ(chart.Chart()->title(), QStringLiteral("Rake - Proportional Rake by Player"));
        EXPECT_EQ(chart.ValueList->currentText(), QStringLiteral("Rake"));
        EXPECT_FALSE(chart.Data().TimeSeries);
        EXPECT_EQ(TopBar(chart), chart.Data().Bars.front().Value);
        chart.ValueList->setCurrentIndex(chart.ValueList->findText(QStringLiteral("Hands")));
        EXPECT_EQ(TopBar(chart), mostHands);
        EXPECT_EQ(chart.ChartView->accessibleName(), QStringLiteral("Chart"));
        chart.resize(800, 560);
        chart.SaveImageBtn->click();
        EXPECT_EQ(QImage(F.SaveAnswer).size(), chart.ChartView->size());
    }));
    EXPECT_TRUE(QFile::exists(F.SaveAnswer));

    // Over time, with the limit named, and in the size it was left at.
    form.ReportPage().ReportList->setCurrentIndex(
        form.ReportPage().ReportList->findText(QStringLiteral("Rake by Date")));
    form.ReportPage().StartCB->click();
    form.ReportPage().LoadSQLBtn->click();
    EXPECT_TRUE(WithChart(form, [&](TChartWindow& chart) {
        EXPECT_EQ(chart.size(), QSize(800, 560));
        EXPECT_EQ(chart.Chart()->title(),
                  "Rake - Rake by Date, from " +
                      QLocale().toString(QDateTime(QDate(2026, 11, 3), QTime(0, 0)), QLocale::ShortFormat));
        EXPECT_TRUE(chart.Data().TimeSeries);
        EXPECT_EQ(chart.Data().Bars.size(), 2u);
    }));
    form.ReportPage().SQLMemo->setPlainText(QStringLiteral("SELECT Date, Rake FROM Master"));
    form.ReportPage().LoadSQLBtn->click();
    EXPECT_TRUE(WithChart(form, [&](TChartWindow& chart) {
        EXPECT_EQ(chart.windowTitle(), QStringLiteral("Chart - SQL"));
        EXPECT_EQ(chart.Chart()->title(), QStringLiteral("Rake - SQL"));
    }));
    EXPECT_EQ(F.Boxes.Boxes.size(), 1) << "no box but the first";
}

TEST(ChartWindowTest, YearsOfDaysReadOnDatedMarksAtTheDesignedSizeAndMaximised)
{
    // Three years of days, rows on every third day only.
    auto table = std::make_shared<TResultTable>(QVector<TColumn>{
        {"Date", TFieldType::Text}, {"Hands", TFieldType::Integer}, {"Rake", TFieldType::Real}});
    for (QDate day(2024, 1, 1); day <= QDate(2026, 12, 31); day = day.addDays(3)) {
        const QByteArray text = day.toString(Qt::ISODate).toUtf8();
        table->AppendText(0, text.constData(), text.size());
        table->AppendInteger(1, 10);
        table->AppendReal(2, 1.5);
        table->EndRow();
    }
    TDataView view;
    view.Open(table);
    TRecordingBoxes boxes;
    TChartWindow chart(view, {QStringLiteral("Rake by Date"), {}, {}}, boxes, nullptr);
    std::vector<qsizetype> marks;
    for (QSize size : {QSize(670, 480), QSize(1280, 1000)}) {
        chart.resize(size);
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        QTest::qWait(50);
        auto* axis = qobject_cast<QCategoryAxis*>(chart.Chart()->axes(Qt::Horizontal).at(0));
        ASSERT_NE(axis, nullptr);
        EXPECT_EQ(axis->titleText(), chart.Data().Note);
        EXPECT_EQ(chart.ChartView->accessibleDescription(), chart.Data().Note);
        const QStringList labels = axis->categoriesLabels();
        ASSERT_GE(labels.size(), 3) << size.width();
        // Neighbours stand a label's width apart, so none is cut or overlaps.
        const double perBar = chart.Chart()->plotArea().width() / double(chart.Data().Bars.size());
        const QFontMetricsF metrics(axis->labelsFont());
        for (int i = 1; i < labels.size(); ++i)
            EXPECT_GE((axis->endValue(labels[i]) - axis->endValue(labels[i - 1])) * perBar,
                      metrics.horizontalAdvance(labels[i]))
                << size.width() << " " << labels[i].toStdString();
        marks.push_back(labels.size());
    }
    EXPECT_GT(marks[1], marks[0]) << "more marks where there is room";
}
