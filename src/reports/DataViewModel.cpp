#include "reports/DataViewModel.h"

TDataViewModel::TDataViewModel(TDataView& view, int realDecimals, int realWidth, QObject* parent)
    : QAbstractTableModel(parent), FView(view), FRealDecimals(realDecimals), FRealWidth(realWidth)
{
    SetLocale(QLocale());
    FView.AddObserver(this);
}

TDataViewModel::~TDataViewModel()
{
    FView.RemoveObserver(this);
}

void TDataViewModel::SetLocale(QLocale locale)
{
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    FLocale = locale;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void TDataViewModel::SetBoldColumn(const QString& name)
{
    if (name == FBoldColumn)
        return;
    FBoldColumn = name;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void TDataViewModel::SetSortIndicator(const QString& name, bool descending)
{
    FSortColumn = name;
    FSortDescending = descending;
    emit SortIndicatorChanged();
}

int TDataViewModel::SortColumn() const
{
    if (FSortColumn.isEmpty())
        return -1;
    for (int c = 0; c < columnCount(); ++c)
        if (ColumnTitle(c) == FSortColumn)
            return c;
    return -1;
}

void TDataViewModel::SetClosedTitles(const QStringList& titles)
{
    const bool shown = !FView.Active();
    if (shown)
        beginResetModel();
    FClosedTitles = titles;
    if (shown)
        endResetModel();
}

int TDataViewModel::ColumnWidth(int column) const
{
    if (!FView.Active() || column < 0 || column >= FView.ColumnCount())
        return 0;
    return FView.Column(column).Type == TFieldType::Real ? FRealWidth : 0;
}

QString TDataViewModel::ColumnTitle(int column) const
{
    if (FView.Active())
        return column >= 0 && column < FView.ColumnCount() ? FView.Column(column).Name : QString();
    return FClosedTitles.value(column);
}

QString TDataViewModel::DisplayText(int row, int column) const
{
    if (FView.IsNull(row, column))
        return {};
    switch (FView.Column(column).Type) {
    case TFieldType::Integer:
        return QString::number(FView.Integer(row, column));
    case TFieldType::Real:
        return FLocale.toString(FView.Real(row, column), 'f', FRealDecimals);
    case TFieldType::Text:
        return FView.Text(row, column);
    case TFieldType::Blob:
        return QString::fromUtf8(FView.Blob(row, column));
    }
    return {};
}

int TDataViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !FView.Active() ? 0 : FView.RowCount();
}

int TDataViewModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return FView.Active() ? FView.ColumnCount() : static_cast<int>(FClosedTitles.size());
}

QVariant TDataViewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText(index.row(), index.column());
    case Qt::TextAlignmentRole: {
        const TFieldType type = FView.Column(index.column()).Type;
        const bool number = type == TFieldType::Integer || type == TFieldType::Real;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    default:
        return {};
    }
}

QVariant TDataViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return ColumnTitle(section);
    case Qt::FontRole:
        if (!FBoldColumn.isEmpty() && ColumnTitle(section) == FBoldColumn)
            return FBoldTitleFont;
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags TDataViewModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

void TDataViewModel::DataViewAboutToReset()
{
    beginResetModel();
}

void TDataViewModel::DataViewReset()
{
    endResetModel();
    emit CurrentRowChanged(FView.CurrentRow());
}

void TDataViewModel::DataViewCurrentChanged()
{
    emit CurrentRowChanged(FView.CurrentRow());
}
