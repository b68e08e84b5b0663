#pragma once

#include "platform/Busy.h"

#include <QCursor>
#include <QGuiApplication>

// The window's busy indication: the wait cursor over the whole application.
inline TBusyHook WaitCursorHook()
{
    return [](bool busy) {
        if (busy)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    };
}
