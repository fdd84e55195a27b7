#pragma once

#include "ArithmeticModels.h"
#include "IntegerCompressor.h"
#include "LazItems.h"
#include "StreamingMedian5.h"

#include <array>
#include <memory>

namespace lazpack {

class ArithmeticEncoder;

//! Version 2 coder of the 20-byte point item: a symbol says which attributes
//! changed; x and y are coded against the median of their last five differences,
//! z against the last height of the same return level, each in contexts taken
//! from the return numbers and the bit lengths just coded.
class Point10Compressor {
public:
    //! Starts a chunk at its first point (which the chunk stores raw).
    explicit Point10Compressor(const Point10& first);
    void Compress(ArithmeticEncoder& enc, const Point10& item);

private:
    static SymbolModel& Lazy(std::unique_ptr<SymbolModel>& model);

    Point10 m_last;
    std::array<std::uint16_t, 16> m_lastIntensity{};
    std::array<std::int32_t, 8> m_lastHeight{};
    std::array<StreamingMedian5, 16> m_xDiffMedian;
    std::array<StreamingMedian5, 16> m_yDiffMedian;

    SymbolModel m_changedValues{64};
    IntegerCompressor m_intensity{16, 4};
    std::array<SymbolModel, 2> m_scanAngleRank{SymbolModel(256), SymbolModel(256)};
    IntegerCompressor m_pointSourceId{16, 1};
    std::array<std::unique_ptr<SymbolModel>, 256> m_returnByte;      // by the previous byte
    std::array<std::unique_ptr<SymbolModel>, 256> m_classification;  // by the previous class
    std::array<std::unique_ptr<SymbolModel>, 256> m_userData;        // by the previous value
    IntegerCompressor m_dx{32, 2};
    IntegerCompressor m_dy{32, 22};
    IntegerCompressor m_z{32, 20};
};

} // namespace lazpack
