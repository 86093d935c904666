#pragma once

#include <array>
#include <optional>

namespace spk {

// One flag per record index asking the send queue to send it; 78 = preset name, 79 = system record.
class DirtyFlags
{
public:
    static constexpr int Count = 82;
    static constexpr int PresetName = 78;
    static constexpr int SystemRecord = 79;

    bool test(int index) const { return index >= 0 && index < Count && m_flags[index]; }
    void set(int index) { if (index >= 0 && index < Count) m_flags[index] = true; }
    void clear(int index) { if (index >= 0 && index < Count) m_flags[index] = false; }
    void clearFrom(int first) { for (int i = first; i < Count; ++i) m_flags[i] = false; }
    void clearAll() { clearFrom(0); }
    std::optional<int> first() const
    {
        for (int i = 0; i < Count; ++i)
            if (m_flags[i])
                return i;
        return std::nullopt;
    }

private:
    std::array<bool, Count> m_flags{};
};

} // namespace spk
