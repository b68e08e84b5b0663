#include "app/Controls.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

QLabel* MakeStatusLine(const char* name)
{
    auto* line = Named(new QLabel, name);
    line->setFrameShape(QFrame::StyledPanel);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(19);
    line->setTextFormat(Qt::PlainText);
    line->setAccessibleDescription(QLatin1String(name));
    return line;
}

QTableView* MakeGrid(const char* name)
{
    auto* grid = Named(new QTableView, name);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setShowGrid(true);
    grid->setTabKeyNavigation(true);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setAccessibleName(QLatin1String(name));
    return grid;
}

QPushButton* MakeButton(const QString& caption, const char* name, int width, int height)
{
    auto* button = Named(new QPushButton(caption), name);
    button->setFixedSize(width, height);
    button->setAutoDefault(false);
    return button;
}

void SetStatus(QLabel* line, const QString& text)
{
    line->setText(text);
    line->repaint();
}
