#include "viewer/commands/ModelFit.h"

#include <cmath>

namespace {

constexpr float kFitShare = 0.9f;
constexpr float kMinZoom = 0.1f;
constexpr float kMaxZoom = 100000.0f;

} // namespace

std::optional<float> FitZoom(double wx1, double wy1, double wx2, double wy2, int width, int height)
{
    if (width <= 0 || height <= 0)
        return std::nullopt;
    const double halfW = width / 2.0;
    const double halfH = height / 2.0;
    // Each ratio divides by the corner's offset from the centre, rounded to
    // single precision first.
    const float ratios[4] = {
        kFitShare * static_cast<float>(-halfW) / static_cast<float>(wx1 - halfW),
        kFitShare * static_cast<float>(halfW) / static_cast<float>(wx2 - halfW),
        kFitShare * static_cast<float>(-halfH) / static_cast<float>(wy1 - halfH),
        kFitShare * static_cast<float>(halfH) / static_cast<float>(wy2 - halfH),
    };
    bool limited = false;
    float zoom = 0.0f;
    for (float r : ratios) {
        if (std::isnan(r))
            continue;
        zoom = limited ? std::fmin(zoom, r) : r;
        limited = true;
    }
    if (!limited)
        return kMinZoom;
    if (zoom > kMaxZoom)
        zoom = kMaxZoom;
    if (!(zoom >= kMinZoom))
        zoom = kMinZoom;
    return zoom;
}

ViewDirectionTurn TurnOf(ViewDirection direction)
{
    switch (direction) {
    case ViewDirection::Up:
        return {};
    case ViewDirection::Low:
        return {180.0f, 0, 1, 0};
    case ViewDirection::Left:
        return {-90.0f, 1, 0, 0, 90.0f, 0, 1, 0};
    case ViewDirection::Right:
        return {-90.0f, 1, 0, 0, -90.0f, 0, 1, 0};
    case ViewDirection::Front:
        return {-90.0f, 1, 0, 0};
    case ViewDirection::Back:
        return {-90.0f, 1, 0, 0, 180.0f, 0, 1, 0};
    }
    return {};
}
