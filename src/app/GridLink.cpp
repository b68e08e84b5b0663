#include "app/GridLink.h"

#include "reports/DataViewModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

void LinkGrid(QTableView* grid, TDataViewModel& model)
{
    grid->setModel(&model);
    // The grid's own font, only bold: the header may carry a style's font of its own.
    QFont bold = grid->font();
    bold.setBold(true);
    model.SetBoldTitleFont(bold);
    auto applyWidths = [grid, &model] {
        for (int c = 0; c < model.columnCount(); ++c)
            if (model.ColumnWidth(c) > 0)
                grid->setColumnWidth(c, model.ColumnWidth(c));
    };
    QObject::connect(&model, &QAbstractItemModel::modelReset, grid, applyWidths);
    // The platform's sort arrow on the sorted column, redrawn whenever the
    // titles or the order change.
    auto showArrow = [grid, &model] {
        const int column = model.SortColumn();
        grid->horizontalHeader()->setSortIndicatorShown(column >= 0);
        grid->horizontalHeader()->setSortIndicator(column, model.SortDescending() ? Qt::DescendingOrder
                                                                                  : Qt::AscendingOrder);
    };
    QObject::connect(&model, &QAbstractItemModel::modelReset, grid, showArrow);
    QObject::connect(&model, &TDataViewModel::SortIndicatorChanged, grid, showArrow);
    // The header turns its arrow on a click by itself; ours decides.
    QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, grid, showArrow,
                     Qt::QueuedConnection);
    QObject::connect(&model, &TDataViewModel::CurrentRowChanged, grid, [grid, &model](int row) {
        if (row < 0)
            return;
        const QModelIndex index = model.index(row, std::max(0, grid->currentIndex().column()));
        if (grid->currentIndex().row() != row) {
            grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
            grid->scrollTo(index);
        }
    });
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, grid,
                     [&model](const QModelIndex& current) {
                         if (current.isValid() && model.View().Active())
                             model.View().MoveTo(current.row());
                     });
    applyWidths();
    showArrow();
}
