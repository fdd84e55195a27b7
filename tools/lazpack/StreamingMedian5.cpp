#include "StreamingMedian5.h"

namespace lazpack {

void StreamingMedian5::Add(std::int32_t v)
{
    std::int32_t* s = m_values;
    if (m_high) {
        // Drop the largest value.
        if (v < s[2]) {
            s[4] = s[3];
            s[3] = s[2];
            if (v < s[0]) {
                s[2] = s[1];
                s[1] = s[0];
                s[0] = v;
            } else if (v < s[1]) {
                s[2] = s[1];
                s[1] = v;
            } else {
                s[2] = v;
            }
        } else {
            if (v < s[3]) {
                s[4] = s[3];
                s[3] = v;
            } else {
                s[4] = v;
            }
            m_high = false;
        }
    } else {
        // Drop the smallest value.
        if (s[2] < v) {
            s[0] = s[1];
            s[1] = s[2];
            if (s[4] < v) {
                s[2] = s[3];
                s[3] = s[4];
                s[4] = v;
            } else if (s[3] < v) {
                s[2] = s[3];
                s[3] = v;
            } else {
                s[2] = v;
            }
        } else {
            if (s[1] < v) {
                s[0] = s[1];
                s[1] = v;
            } else {
                s[0] = v;
            }
            m_high = true;
        }
    }
}

} // namespace lazpack
