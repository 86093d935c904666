#include "model/layout.h"

namespace spk {

std::optional<RecordAddress> addressOfRecord(int record)
{
    for (int c = 0; c < ChannelCount; ++c) {
        const ChannelGroup &g = ChannelGroups[c];
        if (record >= g.firstRecord && record < g.firstRecord + g.recordCount)
            return RecordAddress{c, record - g.firstRecord, g.command};
    }
    return std::nullopt;
}

} // namespace spk
