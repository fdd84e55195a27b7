#pragma once

// The two "not set" markers the stored data use, and the one place that compares
// them. Every reader of the store tests through these helpers, so a double marker
// that went through a float (1e-16 narrowed and widened again) is still recognised.

// A double equal to 1e-16 means "not set" (coordinates, bounds, elevations).
inline constexpr double kUnsetDouble = 1e-16;
// A float vertex or point z of 1e-7 means "no elevation".
inline constexpr float kNoElevationZ = 1e-7f;

// True for 1e-16 held as a double, or as a float widened to double.
constexpr bool IsUnsetValue(double v)
{
    return v == kUnsetDouble || v == static_cast<double>(static_cast<float>(kUnsetDouble));
}

// True for 1e-16 stored in a float.
constexpr bool IsUnsetValue(float v)
{
    return v == static_cast<float>(kUnsetDouble);
}

// True for the no-elevation z of a float vertex or point (also after widening).
constexpr bool IsNoElevation(double z)
{
    return z == static_cast<double>(kNoElevationZ);
}
