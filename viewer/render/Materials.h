#pragma once

#include "viewer/render/GlMaterial.h"

#include <QtGui/qopengl.h>

#include <array>
#include <cstdint>

//! Entry 0 is the default pale blue-white, entries 1..24 the named materials.
inline constexpr std::size_t kMaterialCount = 25;
using MaterialTable = std::array<GlMaterial, kMaterialCount>;

void InitMaterialTable(MaterialTable& table);
//! Entries 1..24 by index; any other index gives entry 0.
GlMaterial GetMaterial(const MaterialTable& table, std::uint16_t index);
//! Destination factor for glBlendFunc(GL_SRC_ALPHA, factor) from the smoothed
//! points' blend code; unknown codes give GL_ONE_MINUS_SRC_ALPHA.
GLenum BlendFactorToGL(std::uint16_t code);
