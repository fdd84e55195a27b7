#include "viewer/buffers/GradationTable.h"

#include "viewer/buffers/GradationLookup.h"

#include "outside/CGradationSetting.h"


namespace {

void Channels(COLORREF c, float out[4])
{
    out[0] = static_cast<float>(c & 0xFF);
    out[1] = static_cast<float>((c >> 8) & 0xFF);
    out[2] = static_cast<float>((c >> 16) & 0xFF);
    out[3] = 0.0f;
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
        Row& row = m_rows[static_cast<std::size_t>(k)];
        std::size_t lower = list.size() - 1;  // largest level at or below k
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].level <= k) {
                lower = i;
                break;
            }
        if (lower == 0) {
            // k = 255: only t = 255 reaches it, the top stop itself (f = 0).
            row.upperLevel = 255.0f;
            Channels(list[0].color, row.upper);
            continue;
        }
        // Levels above k (up to k + 1) lie between this stop and the one above
        // it. At t = k on a stop, f = 1 exactly and the row gives that stop.
        const ColorConf& lo = list[lower];
        const ColorConf& hi = list[lower - 1];
        row.upperLevel = static_cast<float>(hi.level);
        row.span = static_cast<float>(lo.level - hi.level);
        float low[4];
        Channels(hi.color, row.upper);
        Channels(lo.color, low);
        for (int ch = 0; ch < 3; ++ch) row.delta[ch] = low[ch] - row.upper[ch];
    }
}

void GradationTable::LookupSlow(float t, float& r, float& g, float& b) const
{
    LookupGradationColor(t, r, g, b, m_stops);
}
