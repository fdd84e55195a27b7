#pragma once

#include <array>
#include <vector>

struct ColorConf;

// LookupGradationColor for many levels against one stop list: the bracket of
// every whole level is found once, and the colours come out bit for bit as
// LookupGradationColor gives them. Lists it cannot index (unsorted, without
// their 0 and 255 stops) fall back to LookupGradationColor itself.
class GradationTable {
public:
    //! The bracket of whole level k (levels k up to k + 1): the colour of level
    //! t there is (upper + delta * f) / 255 per channel with
    //! f = (t - upperLevel) / span. Row kBlackRow gives black for t = 0.
    //! Channels sit in lanes 0..2 of 16-byte aligned groups of four.
    struct alignas(16) Row {
        float upper[4] = {0, 0, 0, 0};  // channel bytes of the stop above, as floats
        float delta[4] = {0, 0, 0, 0};  // lower stop minus upper stop, per channel
        float upperLevel = 0.0f;
        float span = 1.0f;  // lower level - upper level, as the lookup divides
    };
    static constexpr int kBlackRow = 256;

    explicit GradationTable(const std::vector<ColorConf>* stops);
    //! As LookupGradationColor(t, r, g, b, stops).
    void Lookup(float t, float& r, float& g, float& b) const
    {
        if (!m_indexed) {
            LookupSlow(t, r, g, b);
            return;
        }
        r = g = b = 0.0f;
        if (t != t) return;  // NaN
        t = t < 0.0f ? 0.0f : (t > 255.0f ? 255.0f : t);
        const Row& row = m_rows[static_cast<std::size_t>(static_cast<int>(t))];
        const float f = (t - row.upperLevel) / row.span;
        r = (row.upper[0] + row.delta[0] * f) / 255.0f;
        g = (row.upper[1] + row.delta[1] * f) / 255.0f;
        b = (row.upper[2] + row.delta[2] * f) / 255.0f;
    }
    //! True when Rows() answers (sorted list from 255 down to 0).
    bool Indexed() const { return m_indexed; }
    //! Rows of levels 0..255, then the black row.
    const Row* Rows() const { return m_rows.data(); }

private:
    void LookupSlow(float t, float& r, float& g, float& b) const;

    const std::vector<ColorConf>* m_stops;
    bool m_indexed = false;
    std::array<Row, 257> m_rows{};
};
