#pragma once

#include "outside/PT.h"
#include "viewer/render/GlFunctions.h"

#include <span>

// The markers the measuring and cross-section tools put on their points: round
// points of 10 pixels drawn over everything in one colour. The GL state is saved
// and restored around them.
void DrawToolMarkers(GlFunctions& gl, std::span<const PT> points, float r, float g, float b);
