#pragma once

#include <cstdint>

// Numbers the view's rooms share: the render passes, the tool modes and the
// colour scale.

// Passes of RenderScene: the display layers, the face and vertex pick layers, and
// the point pick layer.
enum RenderPass : unsigned char { kPassDisplay = 1, kPassPick = 4, kPassPointPick = 9 };

// Tool modes of the view (what a left click does).
namespace toolmode {
inline constexpr std::uint8_t kNone = 0;
inline constexpr std::uint8_t kTinVertexEdit = 1;
inline constexpr std::uint8_t kTinEdgeSwap = 2;
inline constexpr std::uint8_t kTinFaceDelete = 3;
inline constexpr std::uint8_t kCadEdit = 6;
inline constexpr std::uint8_t kTwoPointLines = 7;
inline constexpr std::uint8_t kPolyline = 8;
inline constexpr std::uint8_t kDistance = 16;
inline constexpr std::uint8_t kReadout = 17;
inline constexpr std::uint8_t kSection = 18;
} // namespace toolmode

// Colour bytes (0..255) become GL floats by this factor throughout the viewer
// (255 gives 1.02, clamped by GL).
inline constexpr float kColourByteScale = 0.004f;
