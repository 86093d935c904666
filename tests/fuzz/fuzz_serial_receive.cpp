// The editor's serial receive path: bytes in reads of any size, every frame dispatched to the
// reply decoders the window's handlers use.

#include "fuzzinput.h"
#include "replyhandlers.h"

#include "protocol/receiver.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    spk::fuzz::quietLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    spk::fuzz::Input in(data, size);
    spk::LinkState state;
    spk::Receiver receiver(state);
    spk::fuzz::ReplyDecoders decoders(receiver, state);
    // Each read: a length byte, then that many bytes.
    while (!in.atEnd()) {
        receiver.serialArrival(in.take(in.byte() % 80 + 1));
        spk::fuzz::require(receiver.RxHexText().size() <= spk::Receiver::MaxTextLength,
                           "receive text bounded");
    }
    return 0;
}
