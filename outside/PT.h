#pragma once

// A point of the plane survey: x, y and an elevation z, all doubles.
// Read through x(), y(), z(); written through X(), Y(), Z(). Callers that need a
// defined "not set" value assign kUnsetDouble (1e-16) themselves.
class PT {
public:
    PT() = default;
    PT(double x, double y, double z = 0.0) : m_x(x), m_y(y), m_z(z) {}

    double x() const { return m_x; }
    double y() const { return m_y; }
    double z() const { return m_z; }
    double& X() { return m_x; }
    double& Y() { return m_y; }
    double& Z() { return m_z; }
    void X(double v) { m_x = v; }
    void Y(double v) { m_y = v; }
    void Z(double v) { m_z = v; }
    void Set(double x, double y, double z) { m_x = x; m_y = y; m_z = z; }

    bool operator==(const PT&) const = default;
    PT operator+(const PT& o) const { return PT(m_x + o.m_x, m_y + o.m_y, m_z + o.m_z); }
    PT operator-(const PT& o) const { return PT(m_x - o.m_x, m_y - o.m_y, m_z - o.m_z); }

    // Plan distance to another point.
    double Length2D(const PT& o) const;
    // True when all three coordinates are finite.
    bool IsFinite() const;

private:
    double m_x = 0.0;
    double m_y = 0.0;
    double m_z = 0.0;
};
