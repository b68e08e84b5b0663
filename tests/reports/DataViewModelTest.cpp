#include "reports/DataViewModel.h"

#include "support/QtPrinters.h"
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <optional>

namespace {
// Columns N (integer), R (real), T (text); nullopt and a null QString are NULL.
struct TRow
{
    std::optional<qint64> N;
    std::optional<double> R;
    QString T;
};

std::shared_ptr<TResultTable> Table(const std::vector<TRow>& rows)
{
    auto table = std::make_shared<TResultTable>(
        QVector<TColumn>{{"N", TFieldType::Integer}, {"R", TFieldType::Real}, {"T", TFieldType::Text}});
    for (const auto& row : rows) {
        row.N ? table->AppendInteger(0, *row.N) : table->AppendNull(0);
        row.R ? table->AppendReal(1, *row.R) : table->AppendNull(1);
        const QByteArray utf8 = row.T.toUtf8();
        row.T.isNull() ? table->AppendNull(2) : table->AppendText(2, utf8.constData(), int(utf8.size()));
        table->EndRow();
    }
    return table;
}
} // namespace

TEST(DataViewModelTest, PassesTheModelTesterThroughEveryChangeOfTheView)
{
    TDataView view;
    TDataViewModel model(view, 2, 100);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetClosedTitles({"A", "B"});
    EXPECT_EQ(model.columnCount(), 2);
    view.Open(Table({{1, 1.5, "x"}, {2, std::nullopt, QString()}, {3, 0.25, "y"}}));
    EXPECT_EQ(model.rowCount(), 3);
    view.SelectRows(nullptr, 1, 3);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "2");
    model.SetBoldColumn("R");
    model.SetLocale(QLocale(QLocale::German, QLocale::Germany));
    view.Close();
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "B");
    view.Open(Table({}));
    EXPECT_EQ(model.columnCount(), 3);

    QSignalSpy moved(&model, &TDataViewModel::CurrentRowChanged);
    view.Open(Table({{1, 1.0, "a"}, {2, 2.0, "b"}}));
    view.MoveTo(1);
    {
        TControlsDisabled frozen(view);
        view.First();
        view.Next();
        view.First(); // the grid stays still while the view is walked
    }
    std::vector<int> rows;
    for (const auto& signal : moved)
        rows.push_back(signal.at(0).toInt());
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 0}));
}

TEST(DataViewModelTest, ShowsNumbersWithTheLocaleSeparatorAndNoGrouping)
{
    const QLocale c = QLocale::c();
    const QLocale german(QLocale::German, QLocale::Germany);
    const QString longName = "A player name well past twenty characters";
    struct TCase
    {
        QLocale Locale;
        int Decimals;
        TRow Row;
        QString N, R, T;
    };
    const std::vector<TCase> cases = {
        {c, 2, {7, 1.5, "Oak"}, "7", "1.50", "Oak"},
        {german, 2, {1234567, 1234567.891, longName}, "1234567", "1234567,89", longName},
        {german, 4, {-3, 0.00005, ""}, "-3", "0,0001", ""},
        {c, 4, {0, 2.0 / 3, "12.50"}, "0", "0.6667", "12.50"},
        {c, 2, {std::nullopt, std::nullopt, QString()}, "", "", ""},
        {c, 2, {1, 0.0, " "}, "1", "0.00", " "},
    };
    for (const auto& tc : cases) {
        TDataView view;
        TDataViewModel model(view, tc.Decimals, 120);
        model.SetLocale(tc.Locale);
        view.Open(Table({tc.Row}));
        EXPECT_EQ(model.DisplayText(0, 0), tc.N);
        EXPECT_EQ(model.data(model.index(0, 1)).toString(), tc.R);
        EXPECT_EQ(model.DisplayText(0, 2), tc.T);
    }
}
