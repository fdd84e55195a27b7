#include "viewer/buffers/GradationTable.h"

#include "viewer/buffers/GradationLookup.h"

#include "outside/CGradationSetting.h"


namespace {

void Channels(COLORREF c, float out[3])
{
    out[0] = static_cast<float>(c & 0xFF);
    out[1] = static_cast<float>((c >> 8) & 0xFF);
    out[2] = static_cast<float>((c >> 16) & 0xFF);
}

}  // namespace

GradationTable::GradationTable(const std::vector<ColorConf>* stops) : m_stops(stops)
{
    if (stops == nullptr || stops->size() < 2 || stops->front().level != 255 || stops->back().level != 0) return;
    for (std::size_t i = 1; i < stops->size(); ++i)
        if ((*stops)[i].level >= (*stops)[i - 1].level) return;
    m_indexed = true;
    const std::vector<ColorConf>& list = *stops;
    for (int k = 0; k < 256; ++k) {
        Bracket& b = m_brackets[static_cast<std::size_t>(k)];
        std::size_t lower = list.size() - 1;  // largest level at or below k
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].level <= k) {
                lower = i;
                break;
            }
        if (list[lower].level == k) {
            b.exactStop = true;
            float c[3];
            Channels(list[lower].color, c);
            for (int ch = 0; ch < 3; ++ch) b.stop[ch] = c[ch] / 255.0f;
        }
        // Levels above k (up to k + 1) lie between this stop and the one above it.
        if (lower == 0) continue;  // k = 255: only t = 255 reaches it, an exact stop
        const ColorConf& lo = list[lower];
        const ColorConf& hi = list[lower - 1];
        b.upperLevel = static_cast<float>(hi.level);
        b.span = static_cast<float>(lo.level - hi.level);
        Channels(hi.color, b.upper);
        Channels(lo.color, b.lower);
    }
}

void GradationTable::LookupSlow(float t, float& r, float& g, float& b) const
{
    LookupGradationColor(t, r, g, b, m_stops);
}
