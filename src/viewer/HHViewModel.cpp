#include "viewer/HHViewModel.h"

#include "viewer/HHFunctions.h"

#include <algorithm>
#include <utility>

namespace {
// Room for the item's text margins either side.
constexpr int TextMargin = 8;
} // namespace

void THHViewModel::SetLines(const QStringList& lines, int charWidth, int lineHeight)
{
    beginResetModel();
    FLines = lines;
    qsizetype longest = 0;
    // Read through a const view: a non-const walk would copy the shared list.
    for (const QString& line : std::as_const(FLines))
        longest = std::max(longest, ShownLineLength(line));
    // A fixed-pitch font: the longest line in characters is the widest.
    FItemSize = QSize(int(std::min<qsizetype>(longest * charWidth + TextMargin, 1 << 24)), lineHeight);
    endResetModel();
}

int THHViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(FLines.size());
}

QVariant THHViewModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return ShownLine(FLines.at(index.row()));
    case Qt::SizeHintRole:
        return FItemSize;
    default:
        return {};
    }
}

Qt::ItemFlags THHViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
