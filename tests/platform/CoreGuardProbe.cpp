// Compiled as the core is compiled, and expected to fail: the core must not
// reach the widgets even by their full include path.
#include <QtWidgets/QWidget>

int ProbeWidgets()
{
    return QWidget().isVisible() ? 1 : 0;
}
