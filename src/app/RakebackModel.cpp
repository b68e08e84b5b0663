#include "app/RakebackModel.h"

#include <QFont>

TRakebackModel::TRakebackModel(QObject* parent) : QAbstractTableModel(parent)
{
    SetLocale(QLocale());
}

void TRakebackModel::SetStatement(const TRakebackStatement& statement)
{
    beginResetModel();
    FStatement = statement;
    FShown = true;
    endResetModel();
}

void TRakebackModel::SetLocale(QLocale locale)
{
    // As the other grids: the locale's decimal point, no grouping.
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    beginResetModel();
    FLocale = locale;
    endResetModel();
}

int TRakebackModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !FShown ? 0 : static_cast<int>(FStatement.Rows.size()) + 1;
}

int TRakebackModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString TRakebackModel::DisplayText(int row, int column) const
{
    const bool total = row == FStatement.Rows.size();
    const TRakebackRow* player = total ? nullptr : &FStatement.Rows[row];
    switch (column) {
    case PlayerColumn:
        return total ? QStringLiteral("Total") : player->Player;
    case HandsColumn:
        return FLocale.toString(total ? FStatement.Hands : player->Hands);
    case RakeColumn:
        return FLocale.toString(total ? FStatement.Rake : player->Rake, 'f', 4);
    case PercentColumn:
        return total ? QString() : FLocale.toString(player->Percent, 'f', 2);
    case RakebackColumn: {
        // Whole cents, so the text comes from the cents, never from a double.
        QString text = CentsText(total ? FStatement.Cents : player->Cents);
        return text.replace(u'.', FLocale.decimalPoint());
    }
    }
    return {};
}

QVariant TRakebackModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return DisplayText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (index.column() == PlayerColumn ? Qt::AlignLeft : Qt::AlignRight));
    case Qt::FontRole:
        if (index.row() == FStatement.Rows.size()) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant TRakebackModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList titles{QStringLiteral("Player"), QStringLiteral("Hands"), QStringLiteral("Rake"),
                                    QStringLiteral("Percent"), QStringLiteral("Rakeback")};
    return titles.value(section);
}

Qt::ItemFlags TRakebackModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == PercentColumn && index.row() < FStatement.Rows.size())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TRakebackModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !PercentEdited)
        return false;
    // Unchanged text is no edit: leaving the cell must not turn the default into an own rate.
    if (value.toString() == DisplayText(index.row(), index.column()))
        return false;
    PercentEdited(FStatement.Rows[index.row()].Player, value.toString());
    return true;
}
