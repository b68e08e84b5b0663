#include "app/Controls.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {
// A label asks its layout to lay the page out again at every new text, and
// that repaints the whole window. The status line stands in a box of its own
// that takes the request and only gives the line its size, so a new status
// costs the line's own repaint.
class TStatusBox : public QWidget
{
public:
    explicit TStatusBox(QLabel* line) : FLine(line)
    {
        line->setParent(this);
        setFixedHeight(StatusLineHeight);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return {0, StatusLineHeight}; }

protected:
    void resizeEvent(QResizeEvent*) override { FLine->setGeometry(rect()); }

private:
    static constexpr int StatusLineHeight = 19;
    QLabel* FLine;
};
} // namespace

QLabel* MakeStatusLine(const char* name)
{
    auto* line = Named(new QLabel, name);
    line->setFrameShape(QFrame::StyledPanel);
    line->setFrameShadow(QFrame::Sunken);
    line->setTextFormat(Qt::PlainText);
    // Opaque: its repaint for every new text draws the line alone, not the
    // window behind it.
    line->setAutoFillBackground(true);
    line->setAccessibleDescription(QLatin1String(name));
    new TStatusBox(line);
    return line;
}

QWidget* StatusLineBox(QLabel* line)
{
    return line->parentWidget();
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
