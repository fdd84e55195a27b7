#pragma once

#include <vector>

struct ColorConf;

//! Colour of level t (0..255) in a gradation held in descending level order,
//! each channel 0..1 (the stop bytes divided by 255). Levels outside 0..255 are
//! clamped; NaN gives black, the floor of the callers' colour scales. A level
//! without stops on both sides (a list without its 0 and 255 stops, or out of
//! order) takes the nearest stop's colour. A null or empty list leaves r, g, b
//! as the caller set them.
void LookupGradationColor(float t, float& r, float& g, float& b, const std::vector<ColorConf>* stops);

//! Brightness correction of one channel by the view's brightness percent:
//! positive towards white, negative towards black.
float ApplyBrightness(int brightPercent, float x);
