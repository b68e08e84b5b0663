#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPointF>
#include <QTimer>
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

// What the first round of events inside an operation saw of a click queued on
// a check button: the status line then, and whether the click had landed
// right after that round (it must not have: no input reaches a control while
// the operation runs).
struct TClickDuringWait
{
    QString Status;
    bool Busy = false; // the wait cursor was up: the operation was under way
    bool CheckedRightAfter = true;
};

// Arms the click for the operation the caller starts next.
inline void ClickDuringTheWait(QLabel* status, QAbstractButton* target, TClickDuringWait& seen)
{
    QTimer::singleShot(0, [status, target, &seen] {
        seen.Status = status->text();
        seen.Busy = QApplication::overrideCursor() != nullptr;
        QueueClick(target);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        seen.CheckedRightAfter = target->isChecked();
    });
}
