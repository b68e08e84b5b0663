#pragma once

#include <QEvent>
#include <QPointF>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

// A left click on the middle of the widget, queued as a real one from the
// window system is. QTest's clicks are sent straight to the widget, so an event
// loop that excludes user input could not hold them back; this one it can.
inline void QueueClick(QWidget* widget)
{
    QWidget* top = widget->window();
    const QPointF local = widget->mapTo(top, widget->rect().center());
    const QPointF global = top->mapToGlobal(local);
    for (const auto& [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::MouseButtons(Qt::LeftButton)},
                                        std::pair{QEvent::MouseButtonRelease, Qt::MouseButtons()}})
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            top->windowHandle(), local, global, buttons, Qt::LeftButton, type, Qt::NoModifier,
            Qt::MouseEventNotSynthesized);
}
