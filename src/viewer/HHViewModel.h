#pragma once

#include <QAbstractListModel>
#include <QSize>
#include <QStringList>

// The lines of one text for the viewer's list. Every row has the same size,
// so the list lays out a million lines without measuring any of them; a very
// long line is shown cut (ShownLine).
class THHViewModel : public QAbstractListModel
{
public:
    explicit THHViewModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // Replaces the whole content. charWidth and lineHeight are the list
    // font's; the row width fits the longest line.
    void SetLines(const QStringList& lines, int charWidth, int lineHeight);
    const QStringList& Lines() const { return FLines; }
    QSize ItemSize() const { return FItemSize; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QStringList FLines;
    QSize FItemSize;
};
