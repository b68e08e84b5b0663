#pragma once

#include <functional>
#include <utility>

// How the core says "working, please wait" without knowing what a window shows
// for it: the caller passes a hook, called with true when the work begins and
// with false when it ends. An empty hook shows nothing (the command line).
using TBusyHook = std::function<void(bool busy)>;

// Holds the caller's busy indication while it lives, so it ends however the
// work ends.
class TBusyScope
{
public:
    explicit TBusyScope(TBusyHook hook) : FHook(std::move(hook))
    {
        if (FHook)
            FHook(true);
    }
    ~TBusyScope()
    {
        if (FHook)
            FHook(false);
    }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TBusyHook FHook;
};

// How the core runs a long read (a report, the browser's load) without knowing
// how the caller waits for it: a window runs the work on a worker thread and
// stays drawn and stoppable; an empty hook runs it in place. A hook that
// stopped the work raises TCancelled.
using TWaitHook = std::function<void(const std::function<void()>& work)>;

inline void RunWaiting(const TWaitHook& hook, const std::function<void()>& work)
{
    if (hook)
        hook(work);
    else
        work();
}
