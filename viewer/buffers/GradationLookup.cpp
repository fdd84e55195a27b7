#include "viewer/buffers/GradationLookup.h"

#include "outside/CGradationSetting.h"

#include <cmath>
#include <cstdlib>

namespace {

void StopColour(const ColorConf& stop, float& r, float& g, float& b)
{
    r = static_cast<float>(stop.color & 0xFF) / 255.0f;
    g = static_cast<float>((stop.color >> 8) & 0xFF) / 255.0f;
    b = static_cast<float>((stop.color >> 16) & 0xFF) / 255.0f;
}

const ColorConf& NearestStop(const std::vector<ColorConf>& stops, float t)
{
    std::size_t best = 0;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (std::abs(static_cast<float>(stops[i].level) - t) < std::abs(static_cast<float>(stops[best].level) - t))
            best = i;
    }
    return stops[best];
}

}  // namespace

void LookupGradationColor(float t, float& r, float& g, float& b, const std::vector<ColorConf>* stops)
{
    if (stops == nullptr || stops->empty()) return;
    r = g = b = 0.0f;
    if (std::isnan(t)) return;
    t = t < 0.0f ? 0.0f : (t > 255.0f ? 255.0f : t);

    const std::vector<ColorConf>& list = *stops;
    std::size_t lower = list.size();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const float level = static_cast<float>(list[i].level);
        if (level == t) {
            StopColour(list[i], r, g, b);
            return;
        }
        if (t > level) {
            lower = i;
            break;
        }
    }
    if (lower == 0 || lower == list.size() || list[lower].level >= list[lower - 1].level) {
        StopColour(NearestStop(list, t), r, g, b);
        return;
    }
    const ColorConf& lo = list[lower];
    const ColorConf& hi = list[lower - 1];
    const float f = (t - static_cast<float>(hi.level)) / static_cast<float>(lo.level - hi.level);
    const auto channel = [f](COLORREF upper, COLORREF low, int shift) {
        const float cu = static_cast<float>((upper >> shift) & 0xFF);
        const float cl = static_cast<float>((low >> shift) & 0xFF);
        return (cu + (cl - cu) * f) / 255.0f;
    };
    r = channel(hi.color, lo.color, 0);
    g = channel(hi.color, lo.color, 8);
    b = channel(hi.color, lo.color, 16);
}

float ApplyBrightness(int brightPercent, float x)
{
    const float a = static_cast<float>(brightPercent);
    return a >= 0.0f ? x + (1.0f - x) / 100.0f * a : x - (0.0f - x) / 100.0f * a;
}
