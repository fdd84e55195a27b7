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
        const int k = static_cast<int>(t);
        const Bracket& br = m_brackets[static_cast<std::size_t>(k)];
        if (br.exactStop && t == static_cast<float>(k)) {
            r = br.stop[0];
            g = br.stop[1];
            b = br.stop[2];
            return;
        }
        const float f = (t - br.upperLevel) / br.span;
        r = (br.upper[0] + (br.lower[0] - br.upper[0]) * f) / 255.0f;
        g = (br.upper[1] + (br.lower[1] - br.upper[1]) * f) / 255.0f;
        b = (br.upper[2] + (br.lower[2] - br.upper[2]) * f) / 255.0f;
    }

private:
    void LookupSlow(float t, float& r, float& g, float& b) const;

    struct Bracket {
        float upperLevel = 0.0f;
        float span = 1.0f;          // lower level - upper level, as the lookup divides
        float upper[3] = {0, 0, 0}; // channel bytes as floats
        float lower[3] = {0, 0, 0};
        bool exactStop = false;     // the whole level is itself a stop
        float stop[3] = {0, 0, 0};  // that stop's colour / 255
    };

    const std::vector<ColorConf>* m_stops;
    bool m_indexed = false;
    std::array<Bracket, 256> m_brackets{};
};
