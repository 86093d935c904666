#pragma once

namespace spk {

// Waits ms (under the time scale) while the event loop keeps running, so timer ticks, replies
// and clicks are served during the wait. Never sleeps the thread. Returns at once when there is
// no application or it is shutting down, and early when it quits.
void Delay(int ms);

} // namespace spk
