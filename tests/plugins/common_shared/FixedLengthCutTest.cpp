#include <gtest/gtest.h>

#include "plugins/common/FixedLengthCut.h"

namespace plugcommon {
namespace {

TEST(FixedLengthCutTest, LimitComesFromSizeBits)
{
    EXPECT_EQ(FixedLengthCut::LimitOfCode(0x00BF0000u), 10u);   // size 11
    EXPECT_EQ(FixedLengthCut::LimitOfCode(0x0FFF0D0Cu), 254u);  // size 255
    // Size bits 0: no fixed length (not a limit of -1).
    EXPECT_EQ(FixedLengthCut::LimitOfCode(0x000F0000u), std::nullopt);
    // Not a fixed-length cell.
    EXPECT_EQ(FixedLengthCut::LimitOfCode(0x00BD0000u), std::nullopt);
}

TEST(FixedLengthCutTest, CutsOnCharacterBoundaryScanningFromStart)
{
    // "ab" then four double-byte characters: bytes 2..9; a cut at 10 keeps them all.
    EXPECT_EQ(FixedLengthCut::Cut("abアイウエオ", 10), "abアイウエ");
    // "abc" shifts the characters by one: byte 10 is a trail byte, so 9 bytes stay.
    EXPECT_EQ(FixedLengthCut::Cut("abcアイウエオ", 10), "abcアイウ");
    // Trail bytes in the lead range ("ソ" is 83 5C, "ア" 83 41): counted from the start.
    EXPECT_EQ(FixedLengthCut::Cut("ソソソソソソ", 9), "ソソソソ");
    EXPECT_EQ(FixedLengthCut::Cut("short", 10), "short");
}

} // namespace
} // namespace plugcommon
