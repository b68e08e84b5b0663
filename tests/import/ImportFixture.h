#pragma once

#include "db/RakeDatabase.h"
#include "import/HandParser.h"
#include "import/HandWriter.h"
#include "support/HandGenerator.h"

#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <sqlite3.h>

// A real rake database file in a temporary folder, read back through a second
// connection of its own, as any other program would see it.
struct TImportFixture
{
    QTemporaryDir Dir;
    TRakeDatabase Database;

    TImportFixture() : Database(Dir.path()) { Database.OpenRakeDatabase(); }

    // One import run over these texts: one transaction, committed.
    int Import(const QList<QStringList>& texts)
    {
        Database.StartTransaction();
        int written = 0;
        for (const QStringList& lines : texts)
            written += ImportHands(Database, lines);
        Database.Commit();
        return written;
    }
    int Import(const QStringList& lines) { return Import(QList<QStringList>{lines}); }

    // Every row of a query, cells joined by "|": reals with 17 digits (so equal
    // texts mean equal doubles), NULL spelled out.
    QStringList Rows(const char* sql) const
    {
        QStringList rows;
        sqlite3* db = nullptr;
        sqlite3_open_v2(Database.FileName().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
            rows << QStringLiteral("prepare failed: ") + QString::fromUtf8(sqlite3_errmsg(db));
        while (statement && sqlite3_step(statement) == SQLITE_ROW) {
            QStringList cells;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                switch (sqlite3_column_type(statement, c)) {
                case SQLITE_INTEGER:
                    cells << QString::number(sqlite3_column_int64(statement, c));
                    break;
                case SQLITE_FLOAT:
                    cells << RealText(sqlite3_column_double(statement, c));
                    break;
                case SQLITE_NULL:
                    cells << QStringLiteral("NULL");
                    break;
                default:
                    cells << QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(statement, c)));
                }
            }
            rows << cells.join(QLatin1Char('|'));
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return rows;
    }

    QStringList MasterRows() const
    {
        return Rows("SELECT Hand, TableName, Date, Time, Rake, Dealt, AvgShare FROM Master ORDER BY Hand");
    }
    QStringList DetailRows() const { return Sorted(Rows("SELECT Hand, Player, Share FROM Detail")); }

    static QString RealText(double value) { return QString::number(value, 'g', 17); }
    static QStringList Sorted(QStringList rows)
    {
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    // The rows the generator expects, in the forms of MasterRows and DetailRows.
    static QStringList ExpectedMaster(const QVector<TExpectedHand>& hands)
    {
        QVector<TExpectedHand> byNumber = hands;
        std::sort(byNumber.begin(), byNumber.end(),
                  [](const TExpectedHand& a, const TExpectedHand& b) { return a.Hand < b.Hand; });
        QStringList rows;
        for (const TExpectedHand& h : byNumber)
            rows << QStringList{QString::number(h.Hand),
                                h.TableName,
                                h.Date,
                                h.Time,
                                RealText(h.Rake),
                                QString::number(h.Dealt),
                                RealText(h.AvgShare)}
                        .join(QLatin1Char('|'));
        return rows;
    }
    static QStringList ExpectedDetail(const QVector<TExpectedHand>& hands)
    {
        QStringList rows;
        for (const TExpectedHand& h : hands) {
            for (const TExpectedShare& s : h.Shares)
                rows << QString::number(h.Hand) + QLatin1Char('|') + s.Player + QLatin1Char('|') +
                            RealText(s.Share);
        }
        return Sorted(rows);
    }
};
