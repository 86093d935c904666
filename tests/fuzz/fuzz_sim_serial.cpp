// The simulator's serial request path: bytes in chunks of any size on a line of two devices, every
// request frame found handled by its device.

#include "fuzzinput.h"

#include "simbus.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    spk::fuzz::quietLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    spk::fuzz::Input in(data, size);
    spk::sim::SimBus bus({1, 2});
    bus.setRecording(false);
    while (!in.atEnd()) {
        bus.receiveBytes(in.take(in.byte() % 96 + 1));
        spk::fuzz::require(bus.parser().pending() <= 2 * 1024, "partial frame bounded");
    }
    return 0;
}
