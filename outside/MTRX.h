#pragma once

#include "outside/PT.h"

#include <array>
#include <cstddef>
#include <cstdint>

// A plane affine transform (x' = a x + b y + c, y' = d x + e y + f) kept as a 3 x 3
// matrix of nine doubles and a 16-bit axis-exchange word: 74 bytes when stored,
// written field by field (nine little-endian doubles in row order, then the word).
// Each operation composes after the earlier ones.
class MTRX {
public:
    static constexpr std::size_t kStoredSize = 74;

    MTRX();

    void Init();
    void Move(double dx, double dy);
    void Move(const PT& d) { Move(d.x(), d.y()); }
    // Rotation by `angle` radians, counter-clockwise.
    void Turn(double angle);
    // Exchanges the two plane axes: (x, y) -> (y, x).
    void Axis();

    // Maps a point in place; null pointers are ignored.
    void XY(double* x, double* y) const;
    void XY(PT& pt) const;
    // Inverse transform; the identity when this one is singular.
    MTRX operator~() const;
    // Scales a length by the transform (square root of the absolute determinant).
    void D(double* length) const;
    double D(double length) const;

    bool IsIdentity() const;
    bool operator==(const MTRX&) const = default;

    // Serialise to / from the 74-byte stored block. FromBytes returns false when the
    // block holds a non-finite value; the matrix is then left unchanged.
    std::array<std::uint8_t, kStoredSize> ToBytes() const;
    bool FromBytes(const std::uint8_t* bytes);

    double m[9];
    std::uint16_t m_axis = 0; // 1 while an odd number of axis exchanges is composed

private:
    void Compose(const double t[9]);
};
