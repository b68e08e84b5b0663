#pragma once

// A request from outside to stop the work at hand (Ctrl+C at the command
// line). Waits that would otherwise last long (a lock, a server's answer)
// give up when they see it; the command then ends without committing.
namespace Interrupt {
// Safe in a signal handler.
void Request() noexcept;
bool Requested() noexcept;
// For tests.
void Clear() noexcept;
} // namespace Interrupt
