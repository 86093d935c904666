#pragma once

#include "model/layout.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace spk {

// One record's bytes before and after an edit.
struct RecordChange
{
    int record;
    std::array<std::uint8_t, RecordSize> before;
    std::array<std::uint8_t, RecordSize> after;
};

// The names the window gives the channels: "System", "Satellite", "Third output", "Subwoofer".
QString channelName(int channel);

// What an undo step is called ("Satellite EQ 3 gain", "System high-pass type", "Subwoofer
// mute"): the channel and the fields whose bytes differ. Several records of one channel are
// "<channel> EQ"; a label given by the edit replaces the fields ("Satellite EQ reset").
QString describeChanges(const std::vector<RecordChange> &changes, const QString &label = QString());

} // namespace spk
