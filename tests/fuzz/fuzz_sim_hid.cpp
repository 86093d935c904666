// The simulator's USB request path: output reports of any length, assembled into request frames
// and handled by the device.

#include "fuzzinput.h"

#include "simbus.h"
#include "simhid.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    spk::fuzz::quietLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    spk::fuzz::Input in(data, size);
    spk::sim::SimBus bus({1});
    bus.setRecording(false);
    spk::sim::SimHidLink link(&bus);
    // A length byte per report: 64 and 65 (with report ID) are what a host sends, anything else is noise.
    while (!in.atEnd()) {
        const std::uint8_t shape = in.byte();
        const int length = shape >= 128 ? 65 : shape >= 64 ? 64 : shape;
        for (const QByteArray &reply : link.writeReport(in.take(length)))
            spk::fuzz::require(reply.size() == spk::sim::SimHid::ReportSize, "replies are whole reports");
    }
    return 0;
}
