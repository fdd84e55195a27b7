#pragma once

#include <cstdint>
#include <cstring>

// The two point items of LAS point format 2 as the LAZ coders see them, and the
// context tables of the point item's version 2 coder.
namespace lazpack {

inline constexpr std::size_t kPoint10Bytes = 20;
inline constexpr std::size_t kRgb12Bytes = 6;

//! The first 20 bytes of a record (little-endian on disk).
struct Point10 {
    std::int32_t x = 0, y = 0, z = 0;
    std::uint16_t intensity = 0;
    std::uint8_t returnByte = 0;       // return number, number of returns, scan direction, edge
    std::uint8_t classification = 0;
    std::uint8_t scanAngleRank = 0;
    std::uint8_t userData = 0;
    std::uint16_t pointSourceId = 0;

    std::uint32_t ReturnNumber() const { return returnByte & 7u; }
    std::uint32_t NumberOfReturns() const { return (returnByte >> 3) & 7u; }
    std::uint32_t ScanDirection() const { return (returnByte >> 6) & 1u; }
};

inline Point10 ReadPoint10(const std::uint8_t* p)
{
    Point10 q;
    std::memcpy(&q.x, p, 4);
    std::memcpy(&q.y, p + 4, 4);
    std::memcpy(&q.z, p + 8, 4);
    std::memcpy(&q.intensity, p + 12, 2);
    q.returnByte = p[14];
    q.classification = p[15];
    q.scanAngleRank = p[16];
    q.userData = p[17];
    std::memcpy(&q.pointSourceId, p + 18, 2);
    return q;
}

inline void WritePoint10(const Point10& q, std::uint8_t* p)
{
    std::memcpy(p, &q.x, 4);
    std::memcpy(p + 4, &q.y, 4);
    std::memcpy(p + 8, &q.z, 4);
    std::memcpy(p + 12, &q.intensity, 2);
    p[14] = q.returnByte;
    p[15] = q.classification;
    p[16] = q.scanAngleRank;
    p[17] = q.userData;
    std::memcpy(p + 18, &q.pointSourceId, 2);
}

//! Red, green, blue as stored.
struct Rgb12 {
    std::uint16_t c[3] = {0, 0, 0};
};

inline Rgb12 ReadRgb12(const std::uint8_t* p)
{
    Rgb12 q;
    std::memcpy(q.c, p, 6);
    return q;
}

inline void WriteRgb12(const Rgb12& q, std::uint8_t* p) { std::memcpy(p, q.c, 6); }

//! Which of 16 contexts a (number of returns, return number) pair codes x, y and
//! intensity in.
inline constexpr std::uint8_t kReturnMap[8][8] = {
    {15, 14, 13, 12, 11, 10, 9, 8},  {14, 0, 1, 3, 6, 10, 10, 9},     {13, 1, 2, 4, 7, 11, 11, 10},
    {12, 3, 4, 5, 8, 12, 12, 11},    {11, 6, 7, 8, 9, 13, 13, 12},    {10, 10, 11, 12, 13, 14, 14, 13},
    {9, 10, 11, 12, 13, 14, 15, 14}, {8, 9, 10, 11, 12, 13, 14, 15},
};

//! Which of 8 contexts the pair codes z in: how far the return is from the last.
inline constexpr std::uint8_t kReturnLevel[8][8] = {
    {0, 1, 2, 3, 4, 5, 6, 7}, {1, 0, 1, 2, 3, 4, 5, 6}, {2, 1, 0, 1, 2, 3, 4, 5}, {3, 2, 1, 0, 1, 2, 3, 4},
    {4, 3, 2, 1, 0, 1, 2, 3}, {5, 4, 3, 2, 1, 0, 1, 2}, {6, 5, 4, 3, 2, 1, 0, 1}, {7, 6, 5, 4, 3, 2, 1, 0},
};

//! A byte difference folded into 0..255.
inline std::uint32_t FoldByte(std::int32_t n) { return static_cast<std::uint32_t>(n) & 0xFFu; }
inline std::int32_t ClampByte(std::int32_t n) { return n < 0 ? 0 : (n > 255 ? 255 : n); }

} // namespace lazpack
