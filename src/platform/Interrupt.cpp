#include "platform/Interrupt.h"

#include <atomic>

namespace {
std::atomic<bool> RequestedFlag{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
} // namespace

void Interrupt::Request() noexcept
{
    RequestedFlag.store(true);
}

bool Interrupt::Requested() noexcept
{
    return RequestedFlag.load(std::memory_order_relaxed);
}

void Interrupt::Clear() noexcept
{
    RequestedFlag.store(false);
}
