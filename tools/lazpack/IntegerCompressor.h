#pragma once

#include "ArithmeticModels.h"

#include <cstdint>
#include <vector>

namespace lazpack {

class ArithmeticEncoder;

//! Codes an integer as its difference from a prediction: the difference's bit
//! length k with a per-context model, then its value among the 2^k of that length
//! (the top bitsHigh bits modelled, the rest raw).
class IntegerCompressor {
public:
    //! `bits` of 0 or 32 means full 32-bit wrap-around; `contexts` models for k.
    IntegerCompressor(std::uint32_t bits, std::uint32_t contexts, std::uint32_t bitsHigh = 8);

    void Compress(ArithmeticEncoder& enc, std::int32_t predicted, std::int32_t real, std::uint32_t context = 0);
    //! Bit length of the last difference coded.
    std::uint32_t K() const { return m_k; }

    std::uint32_t CorrectorBits() const { return m_corrBits; }
    std::uint32_t BitsHigh() const { return m_bitsHigh; }
    std::uint32_t CorrectorRange() const { return m_corrRange; }
    std::int32_t CorrectorMin() const { return m_corrMin; }
    std::int32_t CorrectorMax() const { return m_corrMax; }

private:
    void WriteCorrector(ArithmeticEncoder& enc, std::int32_t c, SymbolModel& kModel);

    std::uint32_t m_corrBits;
    std::uint32_t m_bitsHigh;
    std::uint32_t m_corrRange;
    std::int32_t m_corrMin;
    std::int32_t m_corrMax;
    std::uint32_t m_k = 0;
    std::vector<SymbolModel> m_kModels;          // one per context
    BitModel m_zeroModel;                        // corrector 0 or 1 when k = 0
    std::vector<SymbolModel> m_correctors;       // index k - 1 for k = 1..corrBits
};

} // namespace lazpack
