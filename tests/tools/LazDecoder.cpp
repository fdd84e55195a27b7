#include "LazDecoder.h"

#include "ArithmeticEncoder.h"
#include "ArithmeticModels.h"
#include "LazItems.h"
#include "StreamingMedian5.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace laztest {
namespace {

using lazpack::BitModel;
using lazpack::SymbolModel;

struct Corrupt : std::runtime_error {
    using std::runtime_error::runtime_error;
};

template <class T>
T At(const std::vector<std::uint8_t>& s, std::size_t offset)
{
    if (offset > s.size() || s.size() - offset < sizeof(T)) throw Corrupt("read past the end of the file");
    T v;
    std::memcpy(&v, s.data() + offset, sizeof v);
    return v;
}

// Reads bytes [begin, end) of the file; reading beyond `end` means broken data.
class Decoder {
public:
    Decoder(const std::uint8_t* begin, const std::uint8_t* end) : m_at(begin), m_end(end)
    {
        for (int i = 0; i < 4; ++i) m_value = (m_value << 8) | Byte();
    }

    std::uint32_t DecodeBit(BitModel& model)
    {
        const std::uint32_t x = model.Zero() * (m_length >> lazpack::kBitLengthShift);
        const std::uint32_t bit = m_value >= x ? 1 : 0;
        if (bit == 0) {
            m_length = x;
        } else {
            m_value -= x;
            m_length -= x;
        }
        if (m_length < lazpack::kMinLength) Renormalise();
        model.Record(bit);
        return bit;
    }

    std::uint32_t DecodeSymbol(SymbolModel& model)
    {
        // Bisection over the cumulative distribution; the top symbol's interval
        // ends where the whole interval ends.
        std::uint32_t x = 0, y = m_length;
        m_length >>= lazpack::kSymbolLengthShift;
        std::uint32_t low = 0, high = model.Symbols();
        while (high - low > 1) {
            const std::uint32_t mid = (low + high) / 2;
            const std::uint32_t z = m_length * model.Low(mid);
            if (z > m_value) {
                high = mid;
                y = z;
            } else {
                low = mid;
                x = z;
            }
        }
        m_value -= x;
        m_length = y - x;
        if (m_length < lazpack::kMinLength) Renormalise();
        model.Record(low);
        return low;
    }

    std::uint32_t ReadBits(std::uint32_t bits)
    {
        if (bits > 19) {
            const std::uint32_t low = ReadShort();
            return (ReadBits(bits - 16) << 16) | low;
        }
        m_length >>= bits;
        const std::uint32_t v = m_value / m_length;
        if (v >> bits) throw Corrupt("raw bits out of range");
        m_value -= m_length * v;
        if (m_length < lazpack::kMinLength) Renormalise();
        return v;
    }

    std::uint32_t ReadShort() { return ReadBits(16); }

private:
    std::uint32_t Byte()
    {
        if (m_at == m_end) throw Corrupt("coded data run past their chunk");
        return *m_at++;
    }
    void Renormalise()
    {
        do {
            m_value = (m_value << 8) | Byte();
        } while ((m_length <<= 8) < lazpack::kMinLength);
    }

    const std::uint8_t* m_at;
    const std::uint8_t* m_end;
    std::uint32_t m_value = 0;
    std::uint32_t m_length = lazpack::kMaxLength;
};

// The integer coder's reading side: bit length k, then the value among those of
// that length, added to the prediction modulo 2^bits.
class IntegerDecompressor {
public:
    IntegerDecompressor(std::uint32_t bits, std::uint32_t contexts) : m_bits(bits > 0 && bits < 32 ? bits : 32)
    {
        for (std::uint32_t i = 0; i < contexts; ++i) m_kModels.emplace_back(m_bits + 1);
        for (std::uint32_t k = 1; k <= m_bits; ++k) m_correctors.emplace_back(1u << (k < kHigh ? k : kHigh));
    }

    std::int32_t Decompress(Decoder& dec, std::int32_t predicted, std::uint32_t context = 0)
    {
        m_k = dec.DecodeSymbol(m_kModels.at(context));
        std::uint32_t c;
        if (m_k == 0) {
            c = dec.DecodeBit(m_zero);
        } else if (m_k < 32) {
            if (m_k <= kHigh) {
                c = dec.DecodeSymbol(m_correctors[m_k - 1]);
            } else {
                const std::uint32_t lowBits = m_k - kHigh;
                c = dec.DecodeSymbol(m_correctors[m_k - 1]) << lowBits;
                c |= dec.ReadBits(lowBits);
            }
            // Upper half of the k-bit values: positive differences 2^(k-1)+1..2^k;
            // lower half: negative ones.
            if (c >= (1u << (m_k - 1))) {
                c += 1;
            } else {
                c -= (1u << m_k) - 1;
            }
        } else {
            c = 0x80000000u;
        }
        std::uint32_t real = static_cast<std::uint32_t>(predicted) + c;
        if (m_bits < 32) real &= (1u << m_bits) - 1;
        return static_cast<std::int32_t>(real);
    }
    std::uint32_t K() const { return m_k; }

private:
    static constexpr std::uint32_t kHigh = 8;
    std::uint32_t m_bits;
    std::uint32_t m_k = 0;
    std::vector<SymbolModel> m_kModels;
    BitModel m_zero;
    std::vector<SymbolModel> m_correctors;
};

SymbolModel& Lazy(std::unique_ptr<SymbolModel>& model)
{
    if (!model) model = std::make_unique<SymbolModel>(256);
    return *model;
}

class PointDecoder {
public:
    explicit PointDecoder(const std::uint8_t* first)
        : m_last(lazpack::ReadPoint10(first)), m_lastColour(lazpack::ReadRgb12(first + lazpack::kPoint10Bytes))
    {
    }

    void Decode(Decoder& dec, std::uint8_t* out)
    {
        DecodePoint(dec);
        DecodeColour(dec);
        lazpack::WritePoint10(m_last, out);
        lazpack::WriteRgb12(m_lastColour, out + lazpack::kPoint10Bytes);
    }

private:
    void DecodePoint(Decoder& dec)
    {
        lazpack::Point10 p = m_last;
        const std::uint32_t changed = dec.DecodeSymbol(m_changed);
        if (changed & 32) p.returnByte = static_cast<std::uint8_t>(dec.DecodeSymbol(Lazy(m_returnByte[m_last.returnByte])));
        const std::uint32_t r = p.ReturnNumber(), n = p.NumberOfReturns();
        const std::uint32_t m = lazpack::kReturnMap[n][r], l = lazpack::kReturnLevel[n][r];
        if (changed & 16) {
            m_lastIntensity[m] = static_cast<std::uint16_t>(m_intensity.Decompress(dec, m_lastIntensity[m], m < 3 ? m : 3));
        }
        p.intensity = m_lastIntensity[m];
        if (changed & 8) {
            p.classification = static_cast<std::uint8_t>(dec.DecodeSymbol(Lazy(m_class[m_last.classification])));
        }
        if (changed & 4) {
            p.scanAngleRank = static_cast<std::uint8_t>(m_last.scanAngleRank + dec.DecodeSymbol(m_angle[p.ScanDirection()]));
        }
        if (changed & 2) p.userData = static_cast<std::uint8_t>(dec.DecodeSymbol(Lazy(m_user[m_last.userData])));
        if (changed & 1) p.pointSourceId = static_cast<std::uint16_t>(m_source.Decompress(dec, m_last.pointSourceId));

        const std::uint32_t single = n == 1 ? 1 : 0;
        const std::int32_t dx = m_dx.Decompress(dec, m_xMedian[m].Get(), single);
        p.x = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_last.x) + static_cast<std::uint32_t>(dx));
        m_xMedian[m].Add(dx);
        std::uint32_t k = m_dx.K();
        const std::int32_t dy = m_dy.Decompress(dec, m_yMedian[m].Get(), single + (k < 20 ? (k & ~1u) : 20));
        p.y = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_last.y) + static_cast<std::uint32_t>(dy));
        m_yMedian[m].Add(dy);
        k = (m_dx.K() + m_dy.K()) / 2;
        p.z = m_z.Decompress(dec, m_lastHeight[l], single + (k < 18 ? (k & ~1u) : 18));
        m_lastHeight[l] = p.z;
        m_last = p;
    }

    void DecodeColour(Decoder& dec)
    {
        const std::uint16_t* p = m_lastColour.c;
        lazpack::Rgb12 q;
        const std::uint32_t used = dec.DecodeSymbol(m_used);
        const auto lo = [](std::uint32_t v) { return static_cast<std::int32_t>(v & 0xFF); };
        const auto hi = [](std::uint32_t v) { return static_cast<std::int32_t>(v >> 8); };
        const auto byteOf = [&](int model, std::int32_t predicted) {
            return static_cast<std::uint16_t>((dec.DecodeSymbol(m_diff[model]) + predicted) & 0xFF);
        };
        std::uint16_t red = (used & 1) ? byteOf(0, lo(p[0])) : static_cast<std::uint16_t>(p[0] & 0xFF);
        red |= static_cast<std::uint16_t>(((used & 2) ? byteOf(1, hi(p[0])) : hi(p[0])) << 8);
        q.c[0] = red;
        if (used & 64) {
            std::int32_t d = lo(red) - lo(p[0]);
            std::uint16_t green = (used & 4) ? byteOf(2, lazpack::ClampByte(d + lo(p[1]))) : lo(p[1]);
            std::uint16_t blue = 0;
            if (used & 16) {
                d = (d + lo(green) - lo(p[1])) / 2;
                blue = byteOf(4, lazpack::ClampByte(d + lo(p[2])));
            } else {
                blue = lo(p[2]);
            }
            d = hi(red) - hi(p[0]);
            const std::uint16_t greenHigh = (used & 8) ? byteOf(3, lazpack::ClampByte(d + hi(p[1]))) : hi(p[1]);
            std::uint16_t blueHigh = 0;
            if (used & 32) {
                d = (d + greenHigh - hi(p[1])) / 2;
                blueHigh = byteOf(5, lazpack::ClampByte(d + hi(p[2])));
            } else {
                blueHigh = hi(p[2]);
            }
            q.c[1] = static_cast<std::uint16_t>(green | (greenHigh << 8));
            q.c[2] = static_cast<std::uint16_t>(blue | (blueHigh << 8));
        } else {
            q.c[1] = q.c[2] = red;
        }
        m_lastColour = q;
    }

    lazpack::Point10 m_last;
    lazpack::Rgb12 m_lastColour;
    std::array<std::uint16_t, 16> m_lastIntensity{};
    std::array<std::int32_t, 8> m_lastHeight{};
    std::array<lazpack::StreamingMedian5, 16> m_xMedian, m_yMedian;
    SymbolModel m_changed{64};
    IntegerDecompressor m_intensity{16, 4};
    std::array<SymbolModel, 2> m_angle{SymbolModel(256), SymbolModel(256)};
    IntegerDecompressor m_source{16, 1};
    std::array<std::unique_ptr<SymbolModel>, 256> m_returnByte, m_class, m_user;
    IntegerDecompressor m_dx{32, 2}, m_dy{32, 22}, m_z{32, 20};
    SymbolModel m_used{128};
    std::array<SymbolModel, 6> m_diff{SymbolModel(256), SymbolModel(256), SymbolModel(256),
                                      SymbolModel(256), SymbolModel(256), SymbolModel(256)};
};

void Require(bool condition, const char* what)
{
    if (!condition) throw Corrupt(what);
}

void Read(const std::vector<std::uint8_t>& s, LazFile& laz)
{
    Require(s.size() >= 227 && std::memcmp(s.data(), "LASF", 4) == 0, "not a LAS file");
    Require(s[24] == 1 && s[25] == 2, "not LAS 1.2");
    Require(s[104] == (2 | 0x80), "not compressed point format 2");
    Require(At<std::uint16_t>(s, 105) == 26, "record length is not 26");
    const std::uint16_t headerSize = At<std::uint16_t>(s, 94);
    const std::uint32_t pointOffset = At<std::uint32_t>(s, 96);
    const std::uint32_t records = At<std::uint32_t>(s, 100);
    laz.pointCount = At<std::uint32_t>(s, 107);
    Require(headerSize >= 227 && pointOffset >= headerSize && pointOffset <= s.size(), "broken header");
    laz.header.assign(s.begin(), s.begin() + headerSize);

    // Find the compression record and check that it describes what we decode.
    bool found = false;
    std::size_t at = headerSize;
    for (std::uint32_t i = 0; i < records; ++i) {
        Require(pointOffset - at >= 54, "broken record chain");
        const std::uint16_t length = At<std::uint16_t>(s, at + 20);
        Require(pointOffset - at - 54 >= length, "broken record chain");
        if (std::memcmp(&s[at + 2], "laszip encoded\0", 15) == 0 && At<std::uint16_t>(s, at + 18) == 22204) {
            const std::size_t v = at + 54;
            Require(length == 34 + 6 * 2, "unexpected compression record size");
            Require(At<std::uint16_t>(s, v) == 2 && At<std::uint16_t>(s, v + 2) == 0, "not point-wise chunked");
            laz.chunkSize = At<std::uint32_t>(s, v + 12);
            Require(laz.chunkSize > 0, "chunk size 0");
            Require(At<std::uint16_t>(s, v + 32) == 2, "not two items");
            const std::uint16_t expected[6] = {6, 20, 2, 8, 6, 2};
            for (int k = 0; k < 6; ++k) Require(At<std::uint16_t>(s, v + 34 + 2 * k) == expected[k], "unexpected items");
            found = true;
        }
        at += 54u + length;
    }
    Require(found, "no compression record");

    const std::int64_t tableOffset = At<std::int64_t>(s, pointOffset);
    Require(tableOffset >= pointOffset + 8 && static_cast<std::uint64_t>(tableOffset) <= s.size() - 8,
            "chunk table offset outside the file");
    Require(At<std::uint32_t>(s, tableOffset) == 0, "unknown chunk table version");
    laz.chunkCount = At<std::uint32_t>(s, tableOffset + 4);
    const std::uint64_t expectedChunks = (std::uint64_t{laz.pointCount} + laz.chunkSize - 1) / laz.chunkSize;
    Require(laz.chunkCount == expectedChunks, "chunk count does not match the points");

    std::vector<std::uint32_t> chunkBytes;
    if (laz.chunkCount > 0) {
        Decoder dec(s.data() + tableOffset + 8, s.data() + s.size());
        IntegerDecompressor sizes(32, 2);
        std::int32_t previous = 0;
        for (std::uint32_t i = 0; i < laz.chunkCount; ++i) {
            previous = sizes.Decompress(dec, previous, 1);
            chunkBytes.push_back(static_cast<std::uint32_t>(previous));
        }
    }

    Require(laz.pointCount <= 200'000'000u, "more points than a test file holds");
    laz.records.assign(std::size_t{laz.pointCount} * 26, 0);
    std::uint64_t chunkStart = pointOffset + 8;
    for (std::uint32_t c = 0; c < laz.chunkCount; ++c) {
        const std::uint64_t chunkEnd = chunkStart + chunkBytes[c];
        Require(chunkBytes[c] >= 26 && chunkEnd <= static_cast<std::uint64_t>(tableOffset), "chunk outside the data");
        const std::uint64_t first = std::uint64_t{c} * laz.chunkSize;
        const std::uint64_t count = std::min<std::uint64_t>(laz.chunkSize, laz.pointCount - first);
        std::uint8_t* out = laz.records.data() + first * 26;
        std::memcpy(out, s.data() + chunkStart, 26);
        PointDecoder points(out);
        if (count > 1) {
            Decoder dec(s.data() + chunkStart + 26, s.data() + chunkEnd);
            for (std::uint64_t i = 1; i < count; ++i) points.Decode(dec, out + i * 26);
        }
        chunkStart = chunkEnd;
    }
    Require(chunkStart == static_cast<std::uint64_t>(tableOffset), "chunks do not reach the chunk table");
}

} // namespace

bool ReadLaz(const std::string& path, LazFile& laz, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    const std::vector<std::uint8_t> s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        Read(s, laz);
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

} // namespace laztest
