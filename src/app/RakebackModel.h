#pragma once

#include "reports/Rakeback.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <functional>

// The rakeback statement as the grid shows it: the players, then the Total
// row; numbers in the user's locale. Only a player's Percent can be edited,
// and the edit goes to PercentEdited, which owns the rate and recalculates.
class TRakebackModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum TColumn
    {
        PlayerColumn,
        HandsColumn,
        RakeColumn,
        PercentColumn,
        RakebackColumn,
        ColumnCount
    };

    explicit TRakebackModel(QObject* parent = nullptr);

    // Nothing shown until the first statement, then the statement and its Total row.
    void SetStatement(const TRakebackStatement& statement);
    const TRakebackStatement& Statement() const { return FStatement; }
    bool HasStatement() const { return FShown; }
    void SetLocale(QLocale locale);

    // (player, the text typed); the model keeps nothing of the edit itself.
    std::function<void(const QString&, const QString&)> PercentEdited;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    QString DisplayText(int row, int column) const;

    TRakebackStatement FStatement;
    bool FShown = false;
    QLocale FLocale;
};
