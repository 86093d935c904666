#include "editors/editlabel.h"

#include <QStringList>

namespace spk {

namespace {
struct Field
{
    int offset, size;
    const char *name;
};

constexpr Field LevelFields[] = {{LevelByte::Mute, 1, "mute"},
                                 {LevelByte::Polarity, 1, "polarity"},
                                 {LevelByte::Level, 2, "level"},
                                 {LevelByte::Delay, 2, "delay"}};
constexpr Field CrossoverFields[] = {{CrossoverByte::HpfFreq, 1, "high-pass frequency"},
                                     {CrossoverByte::HpfType, 1, "high-pass type"},
                                     {CrossoverByte::LpfFreq, 1, "low-pass frequency"},
                                     {CrossoverByte::LpfType, 1, "low-pass type"}};
constexpr Field BandFields[] = {{BandByte::Freq, 1, "frequency"},
                                {BandByte::Type, 1, "type"},
                                {BandByte::Gain, 2, "gain"},
                                {BandByte::Bypass, 1, "bypass"},
                                {BandByte::Q, 2, "Q"}};

template <std::size_t N> QStringList changedFields(const Field (&fields)[N], const RecordChange &c)
{
    QStringList out;
    for (const Field &f : fields) {
        bool differs = false;
        for (int i = f.offset; i < f.offset + f.size; ++i)
            differs = differs || c.before[i] != c.after[i];
        if (differs) out << QString::fromLatin1(f.name);
    }
    return out;
}

QString joined(const QStringList &parts)
{
    if (parts.size() <= 1) return parts.value(0, QStringLiteral("record"));
    return parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + parts.last();
}

// The fields of one record, without the channel.
QString describeRecord(int channel, int sub, const RecordChange &c)
{
    const ChannelGroup &g = ChannelGroups[channel];
    if (sub == 0) {
        // The system input has no mute byte: its mute sets the level to 0.
        if (channel == Ip0 && (c.after[LevelByte::Level] | c.after[LevelByte::Level + 1]) == 0 &&
            changedFields(LevelFields, c) == QStringList{QStringLiteral("level")})
            return QStringLiteral("mute");
        return joined(changedFields(LevelFields, c));
    }
    if (sub == g.crossoverSub) return joined(changedFields(CrossoverFields, c));
    const int band = sub - g.firstBandSub;
    if (band >= 0 && band < BandCount)
        return QStringLiteral("EQ %1 ").arg(band + 1) + joined(changedFields(BandFields, c));
    return QStringLiteral("record %1").arg(sub);
}
} // namespace

QString channelName(int channel)
{
    switch (channel) {
    case Ip0:
        return QStringLiteral("System");
    case Op0:
        return QStringLiteral("Satellite");
    case Op1:
        return QStringLiteral("Third output");
    case Op2:
        return QStringLiteral("Subwoofer");
    }
    return QString();
}

QString describeChanges(const std::vector<RecordChange> &changes, const QString &label)
{
    if (changes.empty()) return label;
    const std::optional<RecordAddress> first = addressOfRecord(changes.front().record);
    if (!first) return label;
    const QString channel = channelName(first->channel) + u' ';
    if (!label.isEmpty()) return channel + label;
    if (changes.size() == 1) return channel + describeRecord(first->channel, first->sub, changes.front());
    return channel + QStringLiteral("EQ");
}

} // namespace spk
