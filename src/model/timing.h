#pragma once

#include <array>
#include <string_view>

namespace spk {

// Every interval of the system, in milliseconds at time scale 1.
struct Interval
{
    std::string_view name;
    int ms;
};

inline constexpr std::array<Interval, 10> TimerIntervals = {{
    {"tmr_prgrsbr", 300},
    {"tmr_pulseframe", 350},
    {"tmr_reflashcomport", 2000},
    {"tmr_disconnect", 250},
    {"tmr_apply20grp", 1200},
    {"tmr_send20grp", 1500},
    {"tmr_boot", 100},
    {"tmr_close_seach", 2000},
    {"tmr_hidreconnect", 500},
    {"tmr_reseteq_in", 700},
}};

// Interval of a named timer at scale 1; 0 for an unknown name.
int nominalInterval(std::string_view name);

// One time scale multiplies every interval: timers, waits, the read settle and the simulator's
// wire pacing. Products run at 1; tests run faster with the same logic.
double timeScale();
void setTimeScale(double scale);
// A duration scaled and rounded, at least 1 ms for a positive nominal duration.
int scaled(int ms);
double scaledExact(double ms);

} // namespace spk
