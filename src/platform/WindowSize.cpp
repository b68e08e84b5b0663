#include "platform/WindowSize.h"

#include <algorithm>

int TRememberedSize::Restore(qint32 stored, int designed, int minimum)
{
    return stored > 0 ? std::max<int>(stored, minimum) : designed;
}

int TRememberedSize::RestoreWidth(qint32 stored, int designed, int minimum)
{
    FWidth = Restore(stored, designed, minimum);
    return FWidth;
}

int TRememberedSize::RestoreHeight(qint32 stored, int designed, int minimum)
{
    FHeight = Restore(stored, designed, minimum);
    return FHeight;
}

void TRememberedSize::Resized(const QSize& size, bool maximized, bool minimized)
{
    if (maximized || minimized)
        return;
    FWidth = size.width();
    FHeight = size.height();
}
