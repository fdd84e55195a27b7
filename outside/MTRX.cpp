#include "outside/MTRX.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

constexpr double kIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

void PutDouble(std::uint8_t* out, double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

double GetDouble(const std::uint8_t* in)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    return std::bit_cast<double>(bits);
}

} // namespace

MTRX::MTRX()
{
    Init();
}

void MTRX::Init()
{
    std::memcpy(m, kIdentity, sizeof m);
    m_axis = 0;
}

void MTRX::Compose(const double t[9])
{
    double r[9];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i * 3 + j] = t[i * 3 + 0] * m[0 * 3 + j] + t[i * 3 + 1] * m[1 * 3 + j] + t[i * 3 + 2] * m[2 * 3 + j];
    std::memcpy(m, r, sizeof m);
}

void MTRX::Move(double dx, double dy)
{
    // A translation changes only the last column: add exactly, so integer moves
    // of an identity stay exact.
    m[2] += dx * m[8];
    m[5] += dy * m[8];
}

void MTRX::Turn(double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double t[9] = {c, -s, 0, s, c, 0, 0, 0, 1};
    Compose(t);
}

void MTRX::Axis()
{
    const double t[9] = {0, 1, 0, 1, 0, 0, 0, 0, 1};
    Compose(t);
    m_axis ^= 1u;
}

void MTRX::XY(double* x, double* y) const
{
    if (x == nullptr || y == nullptr)
        return;
    const double nx = m[0] * *x + m[1] * *y + m[2];
    const double ny = m[3] * *x + m[4] * *y + m[5];
    *x = nx;
    *y = ny;
}

void MTRX::XY(PT& pt) const
{
    XY(&pt.X(), &pt.Y());
}

MTRX MTRX::operator~() const
{
    MTRX inv;
    const double det = m[0] * m[4] - m[1] * m[3];
    if (!std::isfinite(det) || det == 0.0)
        return inv;
    inv.m[0] = m[4] / det;
    inv.m[1] = -m[1] / det;
    inv.m[3] = -m[3] / det;
    inv.m[4] = m[0] / det;
    inv.m[2] = -(inv.m[0] * m[2] + inv.m[1] * m[5]);
    inv.m[5] = -(inv.m[3] * m[2] + inv.m[4] * m[5]);
    inv.m_axis = m_axis;
    return inv;
}

void MTRX::D(double* length) const
{
    if (length != nullptr)
        *length = D(*length);
}

double MTRX::D(double length) const
{
    return length * std::sqrt(std::fabs(m[0] * m[4] - m[1] * m[3]));
}

bool MTRX::IsIdentity() const
{
    return std::memcmp(m, kIdentity, sizeof m) == 0;
}

std::array<std::uint8_t, MTRX::kStoredSize> MTRX::ToBytes() const
{
    std::array<std::uint8_t, kStoredSize> out{};
    for (int i = 0; i < 9; ++i)
        PutDouble(out.data() + 8 * i, m[i]);
    out[72] = static_cast<std::uint8_t>(m_axis & 0xFF);
    out[73] = static_cast<std::uint8_t>(m_axis >> 8);
    return out;
}

bool MTRX::FromBytes(const std::uint8_t* bytes)
{
    if (bytes == nullptr)
        return false;
    double v[9];
    for (int i = 0; i < 9; ++i) {
        v[i] = GetDouble(bytes + 8 * i);
        if (!std::isfinite(v[i]))
            return false;
    }
    std::memcpy(m, v, sizeof m);
    m_axis = static_cast<std::uint16_t>(bytes[72] | (bytes[73] << 8));
    return true;
}
