#include "app/ImportAside.h"

#include "app/WindowParts.h"

#include <QEvent>
#include <QThread>
#include <QWidget>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

namespace {

// How long the window's thread sleeps at most before it draws the window
// again when the run has nothing to show.
constexpr std::chrono::milliseconds DrawEvery{100};

// The run's side: what it says to its front end becomes an errand for the
// window's thread. Status texts and counts go without waiting, so the run
// never stops for the display; boxes, the views and the cursor are awaited,
// as the run relies on them being done (an error box before the commit).
// Progress and counts show nothing at once, so they do not wake the window's
// thread: they are done, in order, with the next errand that does, or at the
// next drawing.
class TRelay final : public TImportFrontEnd
{
public:
    explicit TRelay(TImportFrontEnd& window) : FWindow(window) {}

    void SetStatus(const QString& text) override
    {
        Send([this, text] { FWindow.SetStatus(text); }, TSent::Text);
    }
    void ShowError(const QString& text) override
    {
        Await([this, &text] { FWindow.ShowError(text); });
    }
    void CloseViews() override
    {
        Await([this] { FWindow.CloseViews(); });
    }
    void ShowPlain(const QString& text) override
    {
        Await([this, &text] { FWindow.ShowPlain(text); });
    }
    void SetBusy(bool busy) override
    {
        Await([this, busy] { FWindow.SetBusy(busy); });
    }
    void Progress(int entriesDone, int rakedHands) override
    {
        Send([this, entriesDone, rakedHands] { FWindow.Progress(entriesDone, rakedHands); }, TSent::Quiet);
    }
    void Counted(const TImportCounts& counts) override
    {
        Send([this, counts] { FWindow.Counted(counts); }, TSent::Quiet);
    }
    // The window's thread keeps it drawn; nothing to do here.
    void KeepDrawn() override {}

    // The run's last word: the window's thread stops waiting for errands.
    void Finish()
    {
        {
            const std::lock_guard<std::mutex> lock(FMutex);
            FFinished = true;
            FPrompt = true;
        }
        FWake.notify_one();
    }

    // On the window's thread until the run has finished: does every errand in
    // the order sent, and draws the window after a new status text, or when
    // the run has said nothing for a while (a long file, a lock wait).
    void Serve()
    {
        for (;;) {
            std::deque<TErrand> errands;
            bool finished = false;
            bool woken = false;
            {
                std::unique_lock<std::mutex> lock(FMutex);
                woken = FWake.wait_for(lock, DrawEvery, [this] { return FPrompt; });
                errands.swap(FErrands);
                FPrompt = false;
                finished = FFinished;
            }
            // Drawn right after a text, not after the errands that came with
            // it: those may end the run (the cursor back, the count box).
            bool drawn = false;
            for (TErrand& errand : errands) {
                Do(errand);
                if (errand.NewText) {
                    FWindow.KeepDrawn();
                    drawn = true;
                }
            }
            if (finished)
                return;
            if (!drawn && !woken)
                FWindow.KeepDrawn();
        }
    }

    // An errand sent without waiting that failed on the window's thread.
    std::exception_ptr Failure() const { return FFailure; }

private:
    struct TErrand
    {
        std::function<void()> Work;
        bool NewText = false;
        bool* Done = nullptr; // set when an awaited errand is done
        std::exception_ptr* Failure = nullptr;
    };

    enum class TSent
    {
        Text,
        Quiet
    };

    void Send(std::function<void()> work, TSent sent)
    {
        {
            const std::lock_guard<std::mutex> lock(FMutex);
            FErrands.push_back({std::move(work), sent == TSent::Text});
            if (sent == TSent::Quiet)
                return;
            FPrompt = true;
        }
        FWake.notify_one();
    }

    void Await(const std::function<void()>& work)
    {
        bool done = false;
        std::exception_ptr failure;
        {
            const std::lock_guard<std::mutex> lock(FMutex);
            FErrands.push_back({work, false, &done, &failure});
            FPrompt = true;
        }
        FWake.notify_one();
        {
            std::unique_lock<std::mutex> lock(FMutex);
            FDone.wait(lock, [&done] { return done; });
        }
        if (failure)
            std::rethrow_exception(failure);
    }

    void Do(TErrand& errand)
    {
        std::exception_ptr failure;
        try {
            errand.Work();
        } catch (...) {
            failure = std::current_exception();
        }
        if (!errand.Done) {
            if (failure && !FFailure)
                FFailure = failure;
            return;
        }
        {
            const std::lock_guard<std::mutex> lock(FMutex);
            *errand.Failure = failure;
            *errand.Done = true;
        }
        FDone.notify_all();
    }

    TImportFrontEnd& FWindow;
    std::mutex FMutex;
    std::condition_variable FWake; // an errand was sent, or the run finished
    std::condition_variable FDone; // an awaited errand is done
    std::deque<TErrand> FErrands;
    bool FFinished = false;
    bool FPrompt = false; // an errand that wants doing at once, or the run's end
    std::exception_ptr FFailure;
};

// The window stays open until the run has ended (its boxes close as ever).
class TKeepOpen final : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        return true;
    }
};

} // namespace

int RunImportAside(TWindowParts& parts, QWidget* page, TImportFrontEnd& window,
                   const std::function<int(TImportFrontEnd& frontEnd)>& run)
{
    TRelay relay(window);
    int result = 0;
    std::exception_ptr failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            result = run(relay);
        } catch (...) {
            failure = std::current_exception();
        }
        relay.Finish();
    }));
    TKeepOpen keepOpen;
    parts.Waiting = true;
    QWidget* const mainWindow = page->window();
    mainWindow->installEventFilter(&keepOpen);
    worker->start();
    relay.Serve();
    worker->wait();
    mainWindow->removeEventFilter(&keepOpen);
    parts.Waiting = false;
    if (failure)
        std::rethrow_exception(failure);
    if (relay.Failure())
        std::rethrow_exception(relay.Failure());
    return result;
}
