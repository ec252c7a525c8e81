#pragma once
// The allowed range of one address field. Nothing keeps LowerLimit at or
// below UpperLimit, and a change tells nobody: the fields that use a range
// object read its limits at every test.

#include <cstdint>

namespace widgets {

class TIPAddrRange
{
public:
    TIPAddrRange() = default;
    TIPAddrRange(std::uint8_t lower, std::uint8_t upper) : m_lowerLimit(lower), m_upperLimit(upper)
    {
    }

    // Index 1 is LowerLimit, 2 UpperLimit; any other index reads 255.
    int GetIPRange(int index) const;
    // Stores the low 8 bits of Value for index 1 or 2; other indexes are ignored.
    void SetIPRange(int index, int value);

    std::uint8_t LowerLimit() const { return m_lowerLimit; }
    std::uint8_t UpperLimit() const { return m_upperLimit; }
    void setLowerLimit(int value) { SetIPRange(kLowerIndex, value); }
    void setUpperLimit(int value) { SetIPRange(kUpperIndex, value); }

    static constexpr int kLowerIndex = 1;
    static constexpr int kUpperIndex = 2;

private:
    std::uint8_t m_lowerLimit = 0;
    std::uint8_t m_upperLimit = 255;
};

} // namespace widgets
