#pragma once

// The reply decoders of the window's Ack_* handlers, installed on a receiver as the session does,
// with the checks a decoded reply must pass.

#include "fuzzinput.h"

#include "model/paramimage.h"
#include "model/sysdata.h"
#include "protocol/commands.h"
#include "protocol/meter.h"
#include "protocol/receiver.h"
#include "protocol/replies.h"

namespace spk::fuzz {

class ReplyDecoders
{
public:
    ReplyDecoders(Receiver &receiver, LinkState &state) : m_state(state)
    {
        receiver.setHandler(CMD_Version, [this](const ReplyFrame &f) {
            checkFrame(f);
            m_state.VersionOk = versionMatches(f.bytes());
        });
        receiver.setHandler(CMD_R_20_Username, [this](const ReplyFrame &f) {
            checkFrame(f);
            if (const auto items = decodeNames(f.bytes(), m_names))
                require(items->size() == Load2devItemCount, "eight load items");
        });
        receiver.setHandler(CMD_R_AllSysData, [this](const ReplyFrame &f) {
            checkFrame(f);
            if (const auto view = decodeSysData(f.bytes(), m_sysData, m_names))
                require(view->load2devIndex >= -1 && view->load2devIndex < Load2devItemCount,
                        "load item in range");
        });
        const auto image = [this](const ReplyFrame &f) {
            checkFrame(f);
            decodeImage(f.bytes(), m_image);
        };
        receiver.setHandler(CMD_RW_One_Group, image);
        receiver.setHandler(CMD_Rw_20_Group, image);
        receiver.setHandler(CMD_Meter, [this](const ReplyFrame &f) {
            checkFrame(f);
            if (const auto view = decodeMeter(m_state, f.bytes()))
                require(!view->temperatureText.isEmpty(), "temperature shown");
        });
    }

private:
    static void checkFrame(const ReplyFrame &f)
    {
        require(f.data.size() == f.ReplyLength, "data as announced");
        require(f.hexText.size() == 2 * (f.ReplyLength + 12), "frame text as announced");
    }

    LinkState &m_state;
    PresetNames m_names;
    SysData m_sysData;
    ParamImage m_image;
};

} // namespace spk::fuzz
