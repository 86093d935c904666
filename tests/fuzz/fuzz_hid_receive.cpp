// The editor's USB receive path: input reports of 64 bytes (or a shorter one from a broken device),
// every frame dispatched to the reply decoders the window's handlers use.

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
    state.UsbMode = true;
    spk::Receiver receiver(state);
    spk::fuzz::ReplyDecoders decoders(receiver, state);
    // A first byte below 8 makes the next report short; anything else gives a full one.
    while (!in.atEnd()) {
        const std::uint8_t shape = in.byte();
        receiver.ShowRead(in.take(shape < 8 ? shape * 8 : 64));
        spk::fuzz::require(receiver.RxHexText().size() <= spk::Receiver::MaxTextLength,
                           "receive text bounded");
    }
    return 0;
}
