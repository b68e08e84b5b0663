#include "reports/DataView.h"

#include <algorithm>

void TDataView::ResetRows(std::shared_ptr<const TResultTable> table,
                          std::shared_ptr<const std::vector<int>> order, int begin, int end)
{
    NotifyAboutToReset();
    FTable = std::move(table);
    FOrder = std::move(order);
    FBegin = begin;
    FEnd = std::max(begin, end);
    FCurrent = RowCount() > 0 ? 0 : -1;
    FEof = RowCount() == 0;
    NotifyReset();
}

void TDataView::Open(std::shared_ptr<const TResultTable> table)
{
    const int rows = table ? table->RowCount() : 0;
    ResetRows(std::move(table), nullptr, 0, rows);
}

void TDataView::Close()
{
    ResetRows(nullptr, nullptr, 0, 0);
}

void TDataView::SelectRows(std::shared_ptr<const std::vector<int>> order, int begin, int end)
{
    ResetRows(FTable, std::move(order), begin, end);
    if (FAfterScroll)
        FAfterScroll();
}

int TDataView::FieldIndex(const QString& name) const
{
    for (int c = 0; c < ColumnCount(); ++c)
        if (Column(c).Name == name)
            return c;
    return -1;
}

void TDataView::First()
{
    FCurrent = RowCount() > 0 ? 0 : -1;
    FEof = RowCount() == 0;
    NotifyCurrent();
}

void TDataView::Next()
{
    if (FCurrent + 1 < RowCount()) {
        ++FCurrent;
        FEof = false;
        NotifyCurrent();
    } else {
        FEof = true;
    }
}

void TDataView::MoveTo(int row)
{
    if (row < 0 || row >= RowCount() || row == FCurrent)
        return;
    FCurrent = row;
    FEof = false;
    NotifyCurrent();
}

void TDataView::EnableControls()
{
    if (FDisabled > 0 && --FDisabled == 0) {
        const auto observers = FObservers;
        for (auto* observer : observers)
            observer->DataViewCurrentChanged();
    }
}

void TDataView::AddObserver(TDataViewObserver* observer)
{
    if (std::find(FObservers.begin(), FObservers.end(), observer) == FObservers.end())
        FObservers.push_back(observer);
}

void TDataView::RemoveObserver(TDataViewObserver* observer)
{
    FObservers.erase(std::remove(FObservers.begin(), FObservers.end(), observer), FObservers.end());
}

void TDataView::NotifyCurrent()
{
    if (FDisabled == 0) {
        const auto observers = FObservers;
        for (auto* observer : observers)
            observer->DataViewCurrentChanged();
    }
    if (FAfterScroll)
        FAfterScroll();
}

void TDataView::NotifyAboutToReset()
{
    const auto observers = FObservers;
    for (auto* observer : observers)
        observer->DataViewAboutToReset();
}

void TDataView::NotifyReset()
{
    const auto observers = FObservers;
    for (auto* observer : observers)
        observer->DataViewReset();
}
