#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QTableView;
class QWidget;

// The controls the pages share, made alike on every page.

// Room under a page's status line, so it never sits on the window's edge.
inline constexpr int PageBottomMargin = 4;

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A sunken one-line status line; its control name is its accessible description.
// The page's layout takes StatusLineBox(line), the box it stands in.
QLabel* MakeStatusLine(const char* name);
QWidget* StatusLineBox(QLabel* line);
// A read-only grid that selects whole rows, one at a time.
QTableView* MakeGrid(const char* name);
QPushButton* MakeButton(const QString& caption, const char* name, int width, int height);

// Sets a status line and repaints it at once: the operation that writes it
// holds the event loop, so a later paint would come too late.
void SetStatus(QLabel* line, const QString& text);
