#pragma once

#include <QEvent>
#include <QPointF>
#include <QWidget>
#include <QWindow>

// Qt's hand-over point for input from the window system. Its header ships only
// with Qt's private development files, which this machine lacks; the library
// exports it all the same, so the one call we need is declared here.
class QWindowSystemInterface
{
public:
    struct AsynchronousDelivery;
    template <typename Delivery>
    static bool handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                 Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                 Qt::KeyboardModifiers mods, Qt::MouseEventSource source);
};

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
