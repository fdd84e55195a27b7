#pragma once

#include <cstdint>

namespace lazpack {

//! Median of the last five values added, kept sorted with a high/low alternation
//! (which end the next insertion pushes out), starting from five zeros.
class StreamingMedian5 {
public:
    std::int32_t Get() const { return m_values[2]; }
    void Add(std::int32_t v);

private:
    std::int32_t m_values[5] = {0, 0, 0, 0, 0};
    bool m_high = true;
};

} // namespace lazpack
