#include "model/timing.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace spk {

namespace {
std::atomic<double> g_scale{1.0};
}

int nominalInterval(std::string_view name)
{
    for (const Interval &i : TimerIntervals)
        if (i.name == name)
            return i.ms;
    return 0;
}

double timeScale() { return g_scale.load(); }
void setTimeScale(double scale) { g_scale.store(scale > 0 ? scale : 1.0); }

int scaled(int ms)
{
    if (ms <= 0)
        return 0;
    return std::max(1, int(std::lround(ms * timeScale())));
}

double scaledExact(double ms) { return ms * timeScale(); }

} // namespace spk
