#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The tests' own reader of the files the viewer hands to the host: it takes a file
// only when every count matches the records after it and nothing follows them.
namespace exchangetest {

struct Figure {
    std::uint8_t type = 0;
    std::int32_t attribute = 0;
    std::int32_t colour = 0;
    std::vector<std::array<double, 3>> points;
};

struct HostPoint {
    double x, y, z;
    std::uint32_t colour;
    double intensity;
};

struct Exchange {
    std::int32_t flags = 0;
    std::optional<std::int32_t> layerFlag;     // flag-only TIN part
    std::vector<Figure> figures;
    std::optional<std::int32_t> pointCount;    // as written
    std::vector<HostPoint> points;
};

class Bytes {
public:
    explicit Bytes(std::string data) : m_data(std::move(data)) {}
    template <class T>
    T Get()
    {
        if (m_data.size() - m_at < sizeof(T)) throw std::runtime_error("file ends early");
        T v;
        std::memcpy(&v, m_data.data() + m_at, sizeof(T));
        m_at += sizeof(T);
        return v;
    }
    bool AtEnd() const { return m_at == m_data.size(); }
    void Header()
    {
        if (Get<std::uint32_t>() != 0x40474C56) throw std::runtime_error("magic");
        if (Get<std::uint16_t>() != 0x0100) throw std::runtime_error("version");
    }

private:
    std::string m_data;
    std::size_t m_at = 0;
};

// tinType: 0 lines, 1 points, else the flag-only form. Throws on any mismatch.
// pointRecords: false when the point part holds only its count (over the limit).
inline Exchange ReadExchange(const std::string& bytes, int tinType, bool pointRecords = true)
{
    Bytes in(bytes);
    in.Header();
    Exchange e;
    e.flags = in.Get<std::int32_t>();
    if (e.flags & 1) {
        if (tinType == 0 || tinType == 1) {
            if (in.Get<std::int32_t>() != 0) throw std::runtime_error("TIN part lead");
            const std::int32_t n = in.Get<std::int32_t>();
            for (std::int32_t i = 0; i < n; ++i) {
                Figure f;
                f.type = in.Get<std::uint8_t>();
                f.attribute = in.Get<std::int32_t>();
                f.colour = in.Get<std::int32_t>();
                const std::int32_t m = in.Get<std::int32_t>();
                for (std::int32_t k = 0; k < m; ++k) {
                    const double x = in.Get<double>(), y = in.Get<double>(), z = in.Get<double>();
                    f.points.push_back({x, y, z});
                }
                e.figures.push_back(f);
            }
        } else {
            e.layerFlag = in.Get<std::int32_t>();
        }
    }
    if (e.flags & 2) {
        e.pointCount = in.Get<std::int32_t>();
        const std::int32_t n = pointRecords ? *e.pointCount : 0;
        for (std::int32_t i = 0; i < n; ++i) {
            HostPoint p;
            p.x = in.Get<double>(), p.y = in.Get<double>(), p.z = in.Get<double>();
            p.colour = in.Get<std::uint32_t>();
            p.intensity = in.Get<double>();
            e.points.push_back(p);
        }
    }
    if (!in.AtEnd()) throw std::runtime_error("bytes after the last record");
    return e;
}

// Points-in-polygons reply: per polygon its points.
inline std::vector<std::vector<std::array<double, 3>>> ReadPolygonPoints(const std::string& bytes)
{
    Bytes in(bytes);
    in.Header();
    std::vector<std::vector<std::array<double, 3>>> out(std::size_t(in.Get<std::int32_t>()));
    for (auto& poly : out) {
        const std::int32_t m = in.Get<std::int32_t>();
        for (std::int32_t k = 0; k < m; ++k) {
            const double x = in.Get<double>(), y = in.Get<double>(), z = in.Get<double>();
            poly.push_back({x, y, z});
        }
    }
    if (!in.AtEnd()) throw std::runtime_error("bytes after the last polygon");
    return out;
}

struct Tin {
    std::vector<std::array<double, 3>> vertices;
    std::vector<std::array<std::int32_t, 3>> triangles;
};
inline std::vector<Tin> ReadShownTins(const std::string& bytes)
{
    Bytes in(bytes);
    in.Header();
    std::vector<Tin> out(std::size_t(in.Get<std::int32_t>()));
    for (Tin& t : out) {
        t.vertices.resize(std::size_t(in.Get<std::int32_t>()));
        for (auto& v : t.vertices) v = {in.Get<double>(), in.Get<double>(), in.Get<double>()};
        t.triangles.resize(std::size_t(in.Get<std::int32_t>()));
        for (auto& tr : t.triangles) tr = {in.Get<std::int32_t>(), in.Get<std::int32_t>(), in.Get<std::int32_t>()};
    }
    if (!in.AtEnd()) throw std::runtime_error("bytes after the last TIN");
    return out;
}

}  // namespace exchangetest
