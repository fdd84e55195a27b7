#pragma once

#include "viewer/buffers/DrawableKind.h"

#include <cstdint>
#include <vector>

// Which drawables a clear of model content leaves without data, by the content
// flags of the model files (0x01 group points, 0x02 group TINs, 0x04 CAD figures,
// 0x08 view cloud, 0x10 part figure, 0x20 CAD TIN, 0x40 3D structures; 0xFFFF
// everything) and the file's version (below 0x102 the CAD TIN goes with the CAD
// figures).
namespace clearing {

std::vector<DrawableKind> KindsToRelease(std::uint16_t flags, std::uint16_t version);

// The content ClearAllData removes: everything but the 3D structures.
inline constexpr std::uint16_t kAllButStructures = 0x01 | 0x02 | 0x04 | 0x08 | 0x10 | 0x20;

} // namespace clearing
