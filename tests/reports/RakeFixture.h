#pragma once

#include "db/RakeDatabase.h"
#include "platform/Error.h"

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// A real rake database in a temporary folder, with hands written through the
// program's own REPLACE statements.
struct TRakeFixture
{
    struct THand
    {
        int Hand;
        QString Table;
        QString Date;
        QString Time;
        double Rake;
        std::vector<std::pair<QString, double>> Shares; // player, proportional share
    };

    TRakeFixture() : Database(Dir.path()) { Database.OpenRakeDatabase(); }

    void Add(const THand& hand) { AddTo(Database, hand); }

    // The same into another database, such as the one a window opened.
    static void AddTo(TRakeDatabase& database, const THand& hand)
    {
        auto master = database.Prepare(QLatin1String(TRakeDatabase::MasterReplaceSQL));
        const int dealt = static_cast<int>(hand.Shares.size());
        master->Bind_Int(1, hand.Hand);
        master->Bind_Str16(2, hand.Table);
        master->Bind_Str16(3, hand.Date);
        master->Bind_Str16(4, hand.Time);
        master->Bind_Double(5, hand.Rake);
        master->Bind_Int(6, dealt);
        master->Bind_Double(7, dealt > 0 ? hand.Rake / dealt : 0.0);
        master->Step();
        AddSharesTo(database, hand.Hand, hand.Shares);
    }

    void AddShares(int hand, const std::vector<std::pair<QString, double>>& shares)
    {
        AddSharesTo(Database, hand, shares);
    }

    static void AddSharesTo(TRakeDatabase& database, int hand,
                            const std::vector<std::pair<QString, double>>& shares)
    {
        auto detail = database.Prepare(QLatin1String(TRakeDatabase::DetailReplaceSQL));
        for (const auto& [player, share] : shares) {
            detail->Bind_Int(1, hand);
            detail->Bind_Str16(2, player);
            detail->Bind_Double(3, share);
            detail->StepAndReset();
        }
    }

    QTemporaryDir Dir;
    TRakeDatabase Database;
};

// The message of the TError that run raises, or "no error".
inline QString ErrorOf(const std::function<void()>& run)
{
    try {
        run();
    } catch (const TError& error) {
        return error.Message();
    }
    return QStringLiteral("no error");
}
