#pragma once

#include <QCursor>
#include <QGuiApplication>

// Shows the wait cursor over the whole application while it lives, so the
// normal cursor returns however the work ends.
class TBusyCursor
{
public:
    TBusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};
