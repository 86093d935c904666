// The simulator's --state reader: any text, on a line of two devices. What it accepts is written back
// and read again.

#include "fuzzinput.h"

#include "simbus.h"
#include "simstate.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    spk::fuzz::quietLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    spk::sim::SimBus bus({1, 2});
    if (!spk::sim::SimState::fromJson(json, bus))
        return 0;
    const QByteArray saved = spk::sim::SimState::toJson(bus);
    spk::sim::SimBus again({1, 2});
    spk::fuzz::require(spk::sim::SimState::fromJson(saved, again), "a saved state loads");
    spk::fuzz::require(spk::sim::SimState::toJson(again) == saved, "state survives a round trip");
    return 0;
}
