#pragma once

#include "db/ResultTable.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

// Told by a view when its rows are replaced or its current row moves. The
// grid models and the master/detail link listen this way, apart from the
// single AfterScroll handler that the window owns.
class TDataViewObserver
{
public:
    virtual ~TDataViewObserver() = default;
    virtual void DataViewAboutToReset() {}
    virtual void DataViewReset() {}
    virtual void DataViewCurrentChanged() {}
};

// The in-memory, read-only view over one query result: typed columns, a
// current row, a row count and the 1-based position. A closed view has no
// columns. The view can be narrowed to a run of rows of a row order (the
// detail view shows only the rows of one hand this way).
class TDataView
{
public:
    using TScrollHandler = std::function<void()>;

    TDataView() = default;
    TDataView(const TDataView&) = delete;
    TDataView& operator=(const TDataView&) = delete;

    // Shows every row of the table in its own order, on the first row. Does
    // not call AfterScroll: the caller shows the position once all is loaded.
    void Open(std::shared_ptr<const TResultTable> table);
    void Close();
    bool Active() const { return FTable != nullptr; }
    const std::shared_ptr<const TResultTable>& Table() const { return FTable; }

    // Narrows the view to the rows order[begin..end) of the table (order null:
    // the table's own rows begin..end) and goes to the first of them.
    // Calls AfterScroll: the current row has changed.
    void SelectRows(std::shared_ptr<const std::vector<int>> order, int begin, int end);

    int ColumnCount() const { return FTable ? FTable->ColumnCount() : 0; }
    const TColumn& Column(int column) const { return FTable->Columns()[column]; }
    int FieldIndex(const QString& name) const; // -1 when absent

    int RowCount() const { return FEnd - FBegin; }
    int CurrentRow() const { return FCurrent; } // -1 when there are no rows
    int Position() const { return FCurrent + 1; }
    bool Eof() const { return FEof; }

    // Navigation. First always notifies; the others only when the row changes.
    void First();
    void Next();
    void MoveTo(int row);

    // Cells by row of the view.
    int TableRow(int row) const { return FOrder ? (*FOrder)[FBegin + row] : FBegin + row; }
    bool IsNull(int row, int column) const { return FTable->IsNull(TableRow(row), column); }
    qint64 Integer(int row, int column) const { return FTable->Integer(TableRow(row), column); }
    double Real(int row, int column) const { return FTable->Real(TableRow(row), column); }
    const QString& Text(int row, int column) const { return FTable->Text(TableRow(row), column); }
    QByteArray Blob(int row, int column) const { return FTable->Blob(TableRow(row), column); }

    // The one handler for changes of the current row; an empty function detaches it.
    const TScrollHandler& AfterScroll() const { return FAfterScroll; }
    void SetAfterScroll(TScrollHandler handler) { FAfterScroll = std::move(handler); }

    // While disabled, observers hear nothing of row moves; the last enable
    // tells them where the view now stands. AfterScroll is not affected.
    void DisableControls() { ++FDisabled; }
    void EnableControls();

    void AddObserver(TDataViewObserver* observer);
    void RemoveObserver(TDataViewObserver* observer);

private:
    void ResetRows(std::shared_ptr<const TResultTable> table, std::shared_ptr<const std::vector<int>> order,
                   int begin, int end);
    void NotifyCurrent();
    void NotifyAboutToReset();
    void NotifyReset();

    std::shared_ptr<const TResultTable> FTable;
    std::shared_ptr<const std::vector<int>> FOrder;
    int FBegin = 0;
    int FEnd = 0;
    int FCurrent = -1;
    bool FEof = true;
    int FDisabled = 0;
    TScrollHandler FAfterScroll;
    std::vector<TDataViewObserver*> FObservers;
};

// Detaches a view's AfterScroll handler for a scope and attaches it again,
// also when the scope ends with an error.
class TScrollDetach
{
public:
    explicit TScrollDetach(TDataView& view) : FView(view), FSaved(view.AfterScroll())
    {
        FView.SetAfterScroll({});
    }
    ~TScrollDetach() { FView.SetAfterScroll(std::move(FSaved)); }
    TScrollDetach(const TScrollDetach&) = delete;
    TScrollDetach& operator=(const TScrollDetach&) = delete;

private:
    TDataView& FView;
    TDataView::TScrollHandler FSaved;
};

// Keeps a view's observers (its grid) from following row moves for a scope.
class TControlsDisabled
{
public:
    explicit TControlsDisabled(TDataView& view) : FView(view) { FView.DisableControls(); }
    ~TControlsDisabled() { FView.EnableControls(); }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
    TDataView& FView;
};
