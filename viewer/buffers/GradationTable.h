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
    void Lookup(float t, float& r, float& g, float& b) const;

private:
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
