#include "protocol/sendqueue.h"

namespace spk {

SendQueue::SendQueue(LinkState &state, DirtyFlags &flags, const ParamImage &image, const SysData &sysData,
                     const PresetNames &names)
    : m_state(state), m_flags(flags), m_image(image), m_sysData(sysData), m_names(names)
{
}

SendStep SendQueue::tick()
{
    if (!m_state.Connected) return {};
    if (const std::optional<int> index = m_flags.first()) {
        m_flags.clear(*index);
        return Send_Data_toMCU(*index);
    }
    return SendStep{SendKind::MeterPoll, -1, FrameBuilder::meterPoll(m_state)};
}

SendStep SendQueue::Send_Data_toMCU(int index)
{
    if (!m_state.Connected) return {};
    // No device answers a broadcast frame, so sending is the only sign of life there is.
    if (m_state.Broadcast) m_state.SilenceCount = 0;
    if (index == DirtyFlags::PresetName)
        return SendStep{SendKind::PresetName, index, FrameBuilder::nameWrite(m_state, m_sysData, m_names)};
    if (index == DirtyFlags::SystemRecord) {
        SendStep step{SendKind::SystemRecord, index, FrameBuilder::systemRecordWrite(m_state, m_sysData)};
        // The record still went to the old ID; from now on the device answers to the new one.
        m_state.DevIdByte = m_sysData.bytes[SysData::DeviceId] - 1;
        return step;
    }
    Frame frame = FrameBuilder::recordWrite(m_state, m_image, index);
    if (frame.isEmpty()) return SendStep{SendKind::Silent, index, {}};
    return SendStep{SendKind::Record, index, frame};
}

Frame SendQueue::afterNameWrite()
{
    if (!m_state.Connected || !m_state.Broadcast) return {};
    m_state.TargetOnce = true;
    return FrameBuilder::readRequest(m_state, 0, CMD_RW_One_Group, 0);
}

} // namespace spk
