#pragma once

#include "ArithmeticModels.h"
#include "LazItems.h"

#include <array>

namespace lazpack {

class ArithmeticEncoder;

//! Version 2 coder of the colour item: which bytes changed, then each changed
//! byte of red as a difference and of green and blue against red's change.
class Rgb12Compressor {
public:
    explicit Rgb12Compressor(const Rgb12& first) : m_last(first) {}
    void Compress(ArithmeticEncoder& enc, const Rgb12& item);

private:
    Rgb12 m_last;
    SymbolModel m_byteUsed{128};
    std::array<SymbolModel, 6> m_diff{SymbolModel(256), SymbolModel(256), SymbolModel(256),
                                      SymbolModel(256), SymbolModel(256), SymbolModel(256)};
};

} // namespace lazpack
