#pragma once

#include <optional>

// The zoom that makes the model's box fill 90 % of the window, from the window
// points of the box's two corners projected at zoom 1 (x right, y up), each
// limit a ratio of half the window to the corner's distance from the centre.
// A ratio that is not a number (a corner on the centre line both ways) limits
// nothing; with no limit left, or a limit below 0.1, the zoom is 0.1; above
// 100,000 it is 100,000. A window of zero width or height gives no zoom.
std::optional<float> FitZoom(double wx1, double wy1, double wx2, double wy2, int width, int height);

// The turn each view direction applies after the fit (angles in degrees about
// eye axes, the second turn optional).
struct ViewDirectionTurn {
    float angle1 = 0.0f, ax1 = 0.0f, ay1 = 0.0f, az1 = 0.0f;
    float angle2 = 0.0f, ax2 = 0.0f, ay2 = 0.0f, az2 = 0.0f;
};

enum class ViewDirection { Up, Low, Left, Right, Front, Back };

ViewDirectionTurn TurnOf(ViewDirection direction);
