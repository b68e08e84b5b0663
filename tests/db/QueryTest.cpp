#include "db/Query.h"
#include "db/RakeDatabase.h"
#include "platform/Error.h"

#include "support/QtPrinters.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct TTyped
{
    QString Name;
    TFieldType Type;
    bool operator==(const TTyped&) const = default;
};

std::vector<TTyped> Columns(const TResultTable& table)
{
    std::vector<TTyped> out;
    for (const auto& c : table.Columns())
        out.push_back({c.Name, c.Type});
    return out;
}

void PrintTo(const TTyped& t, std::ostream* os)
{
    *os << t.Name.toStdString() << ":" << static_cast<int>(t.Type);
}

class QueryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Db = std::make_unique<TRakeDatabase>(Dir.path());
        Db->OpenRakeDatabase();
        Db->Execute(QStringLiteral(
            "INSERT INTO Master VALUES (1, 'Oak', '2026-11-03', '14:05:09', 1.5, 3, 0.5);"
            "INSERT INTO Master VALUES (2, 'Elm', '2026-11-04', '09:00:00', 2.0, 2, 1.0);"
            "INSERT INTO Detail VALUES (1, 'Ann', 0.25); INSERT INTO Detail VALUES (1, 'Bob', 1.25);"
            "CREATE TABLE Odd (a VARCHAR(5), b CLOB, c BLOB, d NUMERIC, e BIGINT, f DOUBLE, g);"
            "INSERT INTO Odd VALUES ('x', 'y', x'00ff', 5, 6, 7.5, 'z');"));
    }
    std::shared_ptr<TResultTable> Run(const QString& sql)
    {
        TQuery query(*Db);
        query.SetSelectSQL(sql);
        return query.Open();
    }
    QTemporaryDir Dir;
    std::unique_ptr<TRakeDatabase> Db;
};

constexpr auto I = TFieldType::Integer;
constexpr auto R = TFieldType::Real;
constexpr auto T = TFieldType::Text;
constexpr auto B = TFieldType::Blob;
} // namespace

TEST_F(QueryTest, ColumnTypingRules)
{
    struct TCase
    {
        const char* Sql;
        std::vector<TTyped> Expected;
    };
    const TCase cases[] = {
        {"SELECT * FROM Master",
         {{"Hand", I},
          {"TableName", T},
          {"Date", T},
          {"Time", T},
          {"Rake", R},
          {"Dealt", I},
          {"AvgShare", R}}},
        {"SELECT * FROM Odd", {{"a", T}, {"b", T}, {"c", B}, {"d", R}, {"e", I}, {"f", R}, {"g", T}}},
        // Expressions take the storage class of the first row.
        {"SELECT COUNT(*), SUM(Share), MAX(Player), x'01', NULL FROM Detail",
         {{"COUNT(*)", I}, {"SUM(Share)", R}, {"MAX(Player)", T}, {"x'01'", B}, {"NULL", T}}},
        // No rows: text; a NULL first value: text.
        {"SELECT SUM(Rake) AS Rake FROM Master WHERE Hand > 99", {{"Rake", T}}},
        {"SELECT 1 + Hand AS H FROM Master WHERE 0", {{"H", T}}},
        // Repeated names.
        {"SELECT Hand, Hand, Hand AS Hand_1, Rake AS Hand FROM Master",
         {{"Hand", I}, {"Hand_1", I}, {"Hand_1_1", I}, {"Hand_2", R}}},
        // A name that looks like a place marker is kept as it is.
        {"SELECT 1 AS \"%1\", 2 AS \"%1\"", {{"%1", I}, {"%1_1", I}}},
        // A parameter is never bound and reads as NULL.
        {"SELECT ? AS p", {{"p", T}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Columns(*Run(QString::fromLatin1(c.Sql))), c.Expected) << c.Sql;
}

TEST_F(QueryTest, ValuesAndNulls)
{
    auto t = Run(QStringLiteral("SELECT m.Hand, TableName, Rake, d.Player, NULL AS n FROM Master m "
                                "LEFT JOIN Detail d USING (Hand) ORDER BY m.Hand, Player"));
    ASSERT_EQ(t->RowCount(), 3);
    EXPECT_EQ(t->Integer(0, 0), 1);
    EXPECT_EQ(t->Text(1, 1), QStringLiteral("Oak"));
    EXPECT_DOUBLE_EQ(t->Real(2, 2), 2.0);
    EXPECT_EQ(t->Text(1, 3), QStringLiteral("Bob"));
    EXPECT_TRUE(t->IsNull(2, 3));
    EXPECT_FALSE(t->Value(2, 3).isValid());
    EXPECT_FALSE(t->IsNull(0, 3));
    EXPECT_TRUE(t->IsNull(0, 4));
}

TEST_F(QueryTest, RejectedTextsFailWhenSet)
{
    TQuery query(*Db);
    auto message = [&](const QString& sql) {
        try {
            query.SetSelectSQL(sql);
        } catch (const TError& e) {
            return e.Message();
        }
        return QString();
    };
    EXPECT_EQ(message(QStringLiteral("   ")), QStringLiteral("Empty SQL Statement"));
    EXPECT_EQ(message(QStringLiteral("SELECT * FROM Nowhere")),
              QStringLiteral("SQLite3 Error 1 - no such table: Nowhere"));
    // Only the first statement of the text runs.
    query.SetSelectSQL(QStringLiteral("SELECT 1; DELETE FROM Master;"));
    query.Open();
    EXPECT_EQ(Run(QStringLiteral("SELECT COUNT(*) FROM Master"))->Integer(0, 0), 2);
}

TEST_F(QueryTest, AStatementWithoutColumnsRunsWhenOpened)
{
    auto t = Run(QStringLiteral("DELETE FROM Detail"));
    EXPECT_EQ(t->ColumnCount(), 0);
    EXPECT_EQ(t->RowCount(), 0);
    EXPECT_EQ(Run(QStringLiteral("SELECT COUNT(*) FROM Detail"))->Integer(0, 0), 0);
}
