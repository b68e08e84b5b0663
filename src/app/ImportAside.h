#pragma once

#include "import/ImportRun.h"

#include <functional>

class QWidget;
struct TWindowParts;

// Runs a window's import on a thread of its own, so that the import never
// waits on the display or the accessibility bus and keeps its caches to
// itself: it runs at the command line's pace. This thread does what the run
// asks of the window, in the order asked: each status text set and repainted
// in turn, the boxes and the views while the run waits for them; between
// them it keeps the window drawn (window.KeepDrawn) and takes no input. The
// window's handlers refuse to run meanwhile, so the database is the run's
// alone, and page's window can't be closed. A failure of the run is raised
// here once it has ended.
int RunImportAside(TWindowParts& parts, QWidget* page, TImportFrontEnd& window,
                   const std::function<int(TImportFrontEnd& frontEnd)>& run);
