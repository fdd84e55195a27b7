#pragma once

#include <array>

// A lighting material: ambient, diffuse and specular RGBA and the shininess
// exponent in OpenGL units (0..128).
struct GlMaterial {
    std::array<float, 4> ambient{};
    std::array<float, 4> diffuse{};
    std::array<float, 4> specular{};
    float shininess = 0.0f;
};
