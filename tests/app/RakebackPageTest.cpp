// The Rakeback page: its default period, the statement it shows, the rates set
// in its grid, its CSV and PDF files and its remembered default rate.
#include "WindowFixture.h"
#include "app/Pickers.h"
#include "app/RakebackModel.h"
#include "pdf/PdfPages.h"
#include "platform/Clock.h"
#include "reports/RakeFixture.h"
#include "support/QtPrinters.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTableView>
#include <gtest/gtest.h>

namespace {
using TBox = TRecordingBoxes::TBox;
const QString Refusal = QStringLiteral("Rate must be a number from 0 to 100");

class RakebackPage : public ::testing::Test
{
protected:
    TWindowFixture F;

    void SetUp() override
    {
        Clock::SetTodaySource([] { return QDate(2026, 12, 10); });
    }
    void TearDown() override
    {
        Clock::SetTodaySource({});
        QLocale::setDefault(QLocale::c());
        F.Close();
    }
    // November 2026 for Ann, Bob and Cy; October is outside the default period.
    TRakebackPage& Open()
    {
        TMainForm& form = F.Open();
        for (const TRakeFixture::THand& hand : {
                 TRakeFixture::THand{1, "Oak", "2026-10-31", "23:59:59", 9, {{"Ann", 9}}},
                 TRakeFixture::THand{2, "Oak", "2026-11-05", "10:00:00", 3, {{"Ann", 2}, {"Bob", 1}}},
                 TRakeFixture::THand{3, "Elm", "2026-11-20", "21:15:00", 2, {{"Ann", 1}, {"Cy", 1}}},
             })
            TRakeFixture::AddTo(form.RakeDatabase(), hand);
        F.Show();
        form.PageControl1->setCurrentWidget(&form.RakebackPage());
        return form.RakebackPage();
    }
    static QList<QStringList> Shown(const TRakebackPage& page)
    {
        QList<QStringList> rows;
        const QAbstractItemModel* model = page.RakebackGrid->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells << model->index(r, c).data().toString();
            rows << cells;
        }
        return rows;
    }
    QStringList Rates()
    {
        QStringList rates;
        for (const auto& [player, percent] : ReadRakebackRates(F.Form->RakeDatabase()))
            rates << QStringLiteral("%1 %2").arg(player, RateText(percent));
        return rates;
    }
    // Types into a Percent cell through the grid's own editor and commits with Enter.
    static void EditPercent(TRakebackPage& page, const QString& player, const QString& text)
    {
        const QAbstractItemModel* model = page.RakebackGrid->model();
        const QModelIndexList found =
            model->match(model->index(0, 0), Qt::DisplayRole, player, 1, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << player.toStdString();
        // The editor of an earlier edit is only hidden until its deferred delete.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        page.RakebackGrid->edit(model->index(found[0].row(), TRakebackModel::PercentColumn));
        auto* editor = page.RakebackGrid->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << "the Percent cell opens an editor";
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits in a queued call, and the page takes the edit in another.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

TEST_F(RakebackPage, LimitsDefaultToThePreviousCalendarMonth)
{
    const struct
    {
        QDate Today, First, Last;
    } cases[] = {
        {QDate(2026, 12, 10), QDate(2026, 11, 1), QDate(2026, 11, 30)},
        {QDate(2027, 1, 1), QDate(2026, 12, 1), QDate(2026, 12, 31)}, // over the year's end
        {QDate(2028, 3, 31), QDate(2028, 2, 1), QDate(2028, 2, 29)},  // a leap February
    };
    for (const auto& c : cases) {
        Clock::SetTodaySource([&c] { return c.Today; });
        TWindowFixture window;
        TRakebackPage& page = window.Open().RakebackPage();
        SCOPED_TRACE(c.Today.toString(Qt::ISODate).toStdString());
        EXPECT_TRUE(page.RBStartCB->isChecked());
        EXPECT_TRUE(page.RBEndCB->isChecked());
        EXPECT_EQ(page.RBStartDate->text(), c.First.toString(Qt::ISODate));
        EXPECT_EQ(page.RBStartTime->text(), "00:00:00");
        EXPECT_EQ(page.RBEndDate->text(), c.Last.toString(Qt::ISODate));
        EXPECT_EQ(page.RBEndTime->text(), "23:59:59");
        // Off blanks the pickers; on again brings the month back, not today.
        page.RBStartCB->click();
        EXPECT_EQ(page.RBStartDate->text(), " ");
        EXPECT_FALSE(page.RBStartDate->isEnabled());
        page.RBStartCB->click();
        EXPECT_EQ(page.RBStartDate->text(), c.First.toString(Qt::ISODate));
        window.Close();
    }
}

TEST_F(RakebackPage, CalculatesTheStatementOfThePeriod)
{
    TRakebackPage& page = Open();
    EXPECT_EQ(page.RakebackGrid->accessibleName(), "RakebackGrid");
    EXPECT_EQ(page.RakebackStatus->accessibleDescription(), "RakebackStatus");
    EXPECT_EQ(Shown(page), QList<QStringList>{}) << "nothing before the first Calculate";
    page.DefaultRateEdit->setText(QStringLiteral("10"));
    page.CalculateBtn->click();
    EXPECT_EQ(Shown(page), (QList<QStringList>{{"Ann", "2", "3.0000", "10.00", "0.30"},
                                               {"Bob", "1", "1.0000", "10.00", "0.10"},
                                               {"Cy", "1", "1.0000", "10.00", "0.10"},
                                               {"Total", "4", "5.0000", "", "0.50"}}));
    EXPECT_EQ(page.RakebackStatus->text(), "3 players, rakeback 0.50");

    // The equal basis: each of hand 2's players pays 1.5, each of hand 3's 1.
    page.EqualRB->click();
    page.CalculateBtn->click();
    EXPECT_EQ(Shown(page).front(), (QStringList{"Ann", "2", "2.5000", "10.00", "0.25"}));

    page.RBStartDate->setDate(QDate(2020, 1, 1));
    page.RBEndDate->setDate(QDate(2020, 1, 31));
    page.CalculateBtn->click();
    EXPECT_EQ(Shown(page), (QList<QStringList>{{"Total", "0", "0.0000", "", "0.00"}})) << "an empty period";
    EXPECT_EQ(F.Boxes.Boxes, QVector<TBox>{});
}

TEST_F(RakebackPage, DefaultRateTakesThePointOrTheLocaleSeparator)
{
    const struct
    {
        QLocale::Language Language;
        const char* Typed;
        const char* Percent; // empty: refused
    } cases[] = {
        {QLocale::C, "12.5", "12.50"},      {QLocale::C, "12,5", ""},    {QLocale::German, "12,5", "12,50"},
        {QLocale::German, "12.5", "12,50"}, {QLocale::C, " 7 ", "7.00"}, {QLocale::C, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Typed) + " in " + QLocale::languageToString(c.Language).toStdString());
        QLocale::setDefault(QLocale(c.Language));
        TWindowFixture window;
        TRakebackPage& page = window.Open().RakebackPage();
        TRakeFixture::AddTo(window.Form->RakeDatabase(),
                            {1, "Oak", "2026-11-05", "10:00:00", 4, {{"Ann", 4}}});
        page.DefaultRateEdit->setText(QString::fromLatin1(c.Typed));
        page.CalculateBtn->click();
        if (*c.Percent) {
            EXPECT_EQ(window.Boxes.Boxes, QVector<TBox>{});
            EXPECT_EQ(page.RakebackGrid->model()->index(0, TRakebackModel::PercentColumn).data().toString(),
                      c.Percent);
        } else {
            EXPECT_EQ(window.Boxes.Boxes, (QVector<TBox>{{"error", Refusal}}));
            EXPECT_EQ(page.RakebackGrid->model()->rowCount(), 0) << "nothing calculated";
        }
        window.Close();
    }
}

TEST_F(RakebackPage, APercentCellSetsOrClearsThePlayersOwnRate)
{
    TRakebackPage& page = Open();
    page.DefaultRateEdit->setText(QStringLiteral("10"));
    page.CalculateBtn->click();
    const struct
    {
        const char* Player;
        const char* Typed;
        QStringList Rates;    // stored afterwards
        QStringList FirstRow; // the grid's first row afterwards
        bool Refused;
    } steps[] = {
        {"Bob", "50", {"Bob 50"}, {"Bob", "1", "1.0000", "50.00", "0.50"}, false}, // Bob rises to the top
        {"Cy", "12.25", {"Bob 50", "Cy 12.25"}, {"Bob", "1", "1.0000", "50.00", "0.50"}, false},
        {"Ann", "101", {"Bob 50", "Cy 12.25"}, {"Bob", "1", "1.0000", "50.00", "0.50"}, true},
        {"Ann", "-1", {"Bob 50", "Cy 12.25"}, {"Bob", "1", "1.0000", "50.00", "0.50"}, true},
        {"Bob", "", {"Cy 12.25"}, {"Ann", "2", "3.0000", "10.00", "0.30"}, false}, // back to the default
        {"Cy", "  ", {}, {"Ann", "2", "3.0000", "10.00", "0.30"}, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.Player) + " \"" + s.Typed + "\"");
        F.Boxes.Boxes.clear();
        EditPercent(page, QString::fromLatin1(s.Player), QString::fromLatin1(s.Typed));
        EXPECT_EQ(Rates(), s.Rates);
        EXPECT_EQ(Shown(page).front(), s.FirstRow);
        EXPECT_EQ(F.Boxes.Boxes, (s.Refused ? QVector<TBox>{{"error", Refusal}} : QVector<TBox>{}));
    }
    EXPECT_EQ(Shown(page).back(), (QStringList{"Total", "4", "5.0000", "", "0.50"}));
    // Only a player's Percent can be edited.
    const QAbstractItemModel* model = page.RakebackGrid->model();
    const int total = model->rowCount() - 1;
    for (int c = 0; c < model->columnCount(); ++c) {
        EXPECT_EQ(bool(model->flags(model->index(0, c)) & Qt::ItemIsEditable),
                  c == TRakebackModel::PercentColumn)
            << "column " << c;
        EXPECT_FALSE(model->flags(model->index(total, c)) & Qt::ItemIsEditable) << "Total, column " << c;
    }
}

TEST_F(RakebackPage, ExportsTheShownStatementAsCsvAndPdf)
{
    TRakebackPage& page = Open();
    page.ExportCsvBtn->click();
    EXPECT_EQ(F.Boxes.Boxes, (QVector<TBox>{{"error", "Calculate the statement first"}}));
    EXPECT_EQ(F.StatementProposals, QStringList{}) << "no dialog without a statement";
    F.Boxes.Boxes.clear();

    // Enough players for several pages.
    for (int i = 0; i < 200; ++i)
        TRakeFixture::AddTo(
            F.Form->RakeDatabase(),
            {100 + i, "Ash", "2026-11-10", "12:00:00", 1.0 + i, {{QStringLiteral("P%1").arg(i), 1.0 + i}}});
    page.DefaultRateEdit->setText(QStringLiteral("12.5"));
    page.CalculateBtn->click();
    const TReportLimit start{true, QDate(2026, 11, 1), QTime(0, 0)};
    const TReportLimit end{true, QDate(2026, 11, 30), QTime(23, 59, 59)};
    const TRakebackStatement statement =
        BuildRakebackStatement(F.Form->RakeDatabase(), start, end, TRakebackBasis::Proportional, 12.5);

    F.StatementAnswer = QString(); // cancelled: nothing written, nothing said
    page.ExportCsvBtn->click();
    EXPECT_EQ(page.RakebackStatus->text(), "203 players, rakeback " + CentsText(statement.Cents));

    const QString csv = F.Dir.filePath(QStringLiteral("out/statement.csv"));
    const QString pdf = F.Dir.filePath(QStringLiteral("out/statement.pdf"));
    QDir().mkpath(F.Dir.filePath(QStringLiteral("out")));
    F.StatementAnswer = csv;
    page.ExportCsvBtn->click();
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), RakebackCsv(statement));
    EXPECT_EQ(page.RakebackStatus->text(), "Rakeback statement saved");

    page.RakebackStatus->clear();
    F.StatementAnswer = pdf;
    page.SavePdfBtn->click();
    EXPECT_GT(PdfPageCount(pdf), 1) << "203 players run over pages";
    EXPECT_EQ(page.RakebackStatus->text(), "Rakeback statement saved");

    ASSERT_EQ(F.StatementProposals.size(), 3);
    EXPECT_TRUE(F.StatementProposals[0].endsWith(QLatin1String("/rakeback-2026-11.csv")))
        << F.StatementProposals[0].toStdString();
    EXPECT_EQ(F.StatementProposals[2], F.Dir.filePath(QStringLiteral("out/rakeback-2026-11.pdf")))
        << "the last folder used";

    F.StatementAnswer = F.Dir.filePath(QStringLiteral("no-such-folder/x.pdf"));
    page.SavePdfBtn->click();
    ASSERT_EQ(F.Boxes.Boxes.size(), 1);
    EXPECT_EQ(F.Boxes.Boxes[0].Kind, "unhandled");
    EXPECT_TRUE(F.Boxes.Boxes[0].Text.contains(F.StatementAnswer)) << F.Boxes.Boxes[0].Text.toStdString();
}

TEST_F(RakebackPage, DefaultRateIsRememberedInTheSettingsFile)
{
    const struct
    {
        const char* Typed;
        bool Calculated; // Calculate pressed after typing
        const char* Stored;
    } cases[] = {
        {"12.5", false, "12.5"}, {"7,25", false, "12.5"}, {"0", true, "0"}, {"33.33", true, "33.33"}};
    QString last = QStringLiteral("0");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        TRakebackPage& page = F.Open().RakebackPage();
        EXPECT_EQ(page.DefaultRateEdit->text(), last) << "as the last run left it";
        page.DefaultRateEdit->setText(QString::fromLatin1(c.Typed));
        if (c.Calculated)
            page.CalculateBtn->click();
        F.Close();
        EXPECT_EQ(QSettings(F.SettingsFile(), QSettings::IniFormat)
                      .value(QStringLiteral("RakebackPercent"))
                      .toString(),
                  c.Stored);
        last = QString::fromLatin1(c.Stored);
    }
}
} // namespace
