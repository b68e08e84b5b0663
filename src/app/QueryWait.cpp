#include "app/QueryWait.h"

#include "app/Controls.h"
#include "app/WindowParts.h"
#include "db/RakeDatabase.h"
#include "platform/Error.h"

#include <QApplication>
#include <QBoxLayout>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <exception>
#include <memory>

namespace {
constexpr int TickMs = 100;
constexpr qint64 QuietMs = 1000; // a short read shows nothing new
} // namespace

TQueryWait::TQueryWait(QWidget* page, TWindowParts& parts, QList<QLabel*> statusLines, QBoxLayout* commandRow,
                       const char* cancelName, int cancelWidth)
    : QObject(page), FParts(parts), FStatusLines(std::move(statusLines)), FCommandRow(commandRow),
      FCancelName(cancelName), FCancelWidth(cancelWidth)
{
}

TWaitHook TQueryWait::Hook()
{
    return [this](const std::function<void()>& work) { Run(work); };
}

void TQueryWait::Cancel()
{
    FCancelled = true;
    if (FParts.RakeDatabase)
        FParts.RakeDatabase->Interrupt();
}

void TQueryWait::ShowSeconds(qint64 seconds)
{
    for (int i = 0; i < FStatusLines.size(); ++i)
        SetStatus(FStatusLines[i], FTexts[i] + QStringLiteral(" %1 s").arg(seconds));
    if (!FCancelBtn) {
        FCancelBtn = MakeButton(QStringLiteral("Cancel"), FCancelName, FCancelWidth, 25);
        FCommandRow->insertWidget(FCommandRow->count() - 1, FCancelBtn); // before the stretch
        connect(FCancelBtn, &QPushButton::clicked, this, &TQueryWait::Cancel);
        FCancelBtn->show();
    }
}

void TQueryWait::Run(const std::function<void()>& work)
{
    FTexts.clear();
    for (const QLabel* line : FStatusLines)
        FTexts << line->text();
    FCancelled = false;
    std::exception_ptr failure;
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&work, &failure] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    qint64 shown = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&] {
        const qint64 elapsed = clock.elapsed();
        if (elapsed >= QuietMs && elapsed / 1000 != shown)
            ShowSeconds(shown = elapsed / 1000);
        // A stop asked between two statements would be lost: the engine
        // forgets it when the next one starts.
        if (FCancelled && FParts.RakeDatabase)
            FParts.RakeDatabase->Interrupt();
    });
    FParts.Waiting = true;
    qApp->installEventFilter(this);
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    clock.start();
    worker->start();
    tick.start(TickMs);
    loop.exec();
    worker->wait();
    tick.stop();
    QGuiApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
    FParts.Waiting = false;
    if (FCancelBtn) {
        FCancelBtn->hide();
        FCancelBtn->deleteLater();
        FCancelBtn = nullptr;
    }
    if (shown > 0)
        for (int i = 0; i < FStatusLines.size(); ++i)
            SetStatus(FStatusLines[i], FTexts[i]);
    if (FCancelled)
        throw TCancelled();
    if (failure)
        std::rethrow_exception(failure);
}

bool TQueryWait::eventFilter(QObject* watched, QEvent* event)
{
    const bool onCancel = watched == FCancelBtn;
    switch (event->type()) {
    case QEvent::Close:
        // The window stays open until the read has ended.
        event->ignore();
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            Cancel();
            return true;
        }
        return watched->isWidgetType() && !onCancel;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        // The window passes these on to its widgets, where they are sorted out.
        return watched->isWidgetType() && !onCancel;
    case QEvent::Shortcut:
        return !onCancel;
    default:
        return false;
    }
}
