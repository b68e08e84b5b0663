#pragma once

#include <QSize>
#include <QtGlobal>

// The remembered size of a window: the last size it had while neither
// maximised nor minimised, so that a window closed maximised still comes
// back to its normal size. It is measured as the widget's own size (what
// QWidget::resize sets): the frame belongs to the window manager and is
// unknown before the window is shown, and one measure for both storing and
// applying keeps the window from growing by its frame at every run.
class TRememberedSize
{
public:
    // The settings' width step: a stored width above 0 is applied, no
    // smaller than the minimum; otherwise the designed width stays. Either
    // way the result is the width to give the window and the remembered one.
    int RestoreWidth(qint32 stored, int designed, int minimum);
    int RestoreHeight(qint32 stored, int designed, int minimum);

    // The resize rule: called on every change of the window's size.
    void Resized(const QSize& size, bool maximized, bool minimized);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

private:
    static int Restore(qint32 stored, int designed, int minimum);
    int FWidth = 0;
    int FHeight = 0;
};
