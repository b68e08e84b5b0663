#pragma once

#include "reports/DataView.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <QStringList>

// The one grid model over a TDataView, for the master, detail and report
// grids. It formats only the cells the grid asks for: a view of millions of
// rows costs nothing until it is shown. Reals are written with a fixed number
// of decimals, the locale's decimal separator and no digit grouping.
class TDataViewModel : public QAbstractTableModel, private TDataViewObserver
{
    Q_OBJECT
public:
    // realDecimals: 2 in the browser, 4 in reports; realWidth: the grid width
    // in pixels of a real column (100 or 120).
    TDataViewModel(TDataView& view, int realDecimals, int realWidth, QObject* parent = nullptr);
    ~TDataViewModel() override;

    TDataView& View() const { return FView; }

    // The user's regional settings by default; group separators are always off.
    void SetLocale(QLocale locale);
    const QLocale& Locale() const { return FLocale; }
    // The title drawn bold (the sort column); empty for none.
    void SetBoldColumn(const QString& name);
    const QString& BoldColumn() const { return FBoldColumn; }
    // What the bold title gives for Qt::FontRole: a bold font, made by the window
    // (fonts belong to the Gui library, which the core never links).
    void SetBoldTitleFont(const QVariant& font) { FBoldTitleFont = font; }
    // The column whose title carries the sort arrow (empty: none) and its direction.
    void SetSortIndicator(const QString& name, bool descending);
    // The arrow's column among the titles shown (-1: none).
    int SortColumn() const;
    bool SortDescending() const { return FSortDescending; }
    // Titles shown, without rows, while the view is closed, so a title can be
    // clicked before anything is loaded.
    void SetClosedTitles(const QStringList& titles);

    // Width the grid should give a column: the real width for real columns,
    // 0 (the grid's default) for the others.
    int ColumnWidth(int column) const;
    QString ColumnTitle(int column) const;
    // The text a cell shows: formatted real, plain integer, whole text, empty for NULL.
    QString DisplayText(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The view's current row moved (-1: no rows); the grid follows it.
    void CurrentRowChanged(int row);
    // The arrow moved or turned; the grid shows it again.
    void SortIndicatorChanged();

private:
    void DataViewAboutToReset() override;
    void DataViewReset() override;
    void DataViewCurrentChanged() override;

    TDataView& FView;
    int FRealDecimals;
    int FRealWidth;
    QLocale FLocale;
    QString FBoldColumn;
    QVariant FBoldTitleFont;
    QString FSortColumn;
    bool FSortDescending = false;
    QStringList FClosedTitles;
};
