#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace tessara {
namespace {

struct RoundTripCase {
    const char* name;
    const char* utf8;
    const char* cp932;
};

void PrintTo(const RoundTripCase& c, std::ostream* os)
{
    *os << c.name;
}

class Cp932RoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(Cp932RoundTripTest, ConvertsBothWays)
{
    const auto bytes = ToCp932(GetParam().utf8);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->Bytes(), GetParam().cp932);
    const auto back = FromCp932(*bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Cases, Cp932RoundTripTest, ::testing::Values(
    RoundTripCase{"ascii", "C:\\data\\a.txt", "C:\\data\\a.txt"},
    RoundTripCase{"kanji", "点群", "\x93\x5F\x8C\x51"},
    RoundTripCase{"circledDigit", "①", "\x87\x40"},
    RoundTripCase{"romanNumeral", "Ⅸ", "\x87\x5C"},
    RoundTripCase{"squareMm", "㎜", "\x87\x6F"},
    RoundTripCase{"halfWidthKana", "ｱ", "\xB1"},
    RoundTripCase{"empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cp932Test, RejectsWhatCannotConvert)
{
    EXPECT_FALSE(ToCp932("\xF0\x9F\x98\x80"));        // emoji: no CP932 form
    EXPECT_FALSE(ToCp932("a\xFF"));                    // not UTF-8
    EXPECT_FALSE(FromCp932(Cp932Bytes::FromBytes("\x93")));   // lead byte without trail
}

TEST(Cp932Test, LeadBytes)
{
    for (const unsigned char lead : {0x81, 0x9F, 0xE0, 0xFC}) {
        EXPECT_TRUE(IsCp932LeadByte(lead)) << int(lead);
    }
    for (const unsigned char other : {0x00, 0x5C, 0x80, 0xA0, 0xB1, 0xDF, 0xFD}) {
        EXPECT_FALSE(IsCp932LeadByte(other)) << int(other);
    }
}

TEST(Cp932Test, CutNeverSplitsACharacter)
{
    const auto aaa = ToCp932("亜亜亜");
    ASSERT_TRUE(aaa);
    ASSERT_EQ(aaa->size(), 6u);
    EXPECT_EQ(Cp932CutLength(*aaa, 3), 2u);
    EXPECT_EQ(Cp932CutLength(*aaa, 4), 4u);
    EXPECT_EQ(Cp932CutLength(*aaa, 100), 6u);
    EXPECT_EQ(CutToCp932Bytes("亜亜亜", 3), "亜");
    EXPECT_EQ(CutToCp932Bytes("亜亜亜", 4), "亜亜");
    EXPECT_EQ(CutToCp932Bytes("亜亜亜", 0), "");
}

TEST(Cp932Test, CutScansFromTheStartWhereTrailBytesLookLikeLeadBytes)
{
    // "ソ" is 0x83 0x5C and "ア" is 0x83 0x41; in "aソア" byte 2 (0x5C) is a trail byte,
    // and in "表" (0x95 0x5C) likewise. A scan backwards from the cut would misjudge them.
    const auto text = ToCp932("a表ソ");
    ASSERT_TRUE(text);
    ASSERT_EQ(text->Bytes(), "a\x95\x5C\x83\x5C");
    EXPECT_EQ(Cp932CutLength(*text, 2), 1u);
    EXPECT_EQ(Cp932CutLength(*text, 3), 3u);
    EXPECT_EQ(Cp932CutLength(*text, 4), 3u);
    EXPECT_EQ(CutToCp932Bytes("a表ソ", 4), "a表");
    // Trail bytes in the lead range: "亜" is 0x88 0x9F.
    const auto pair = Cp932Bytes::FromBytes("\x88\x9F\x88\x9F");
    EXPECT_EQ(Cp932CutLength(pair, 3), 2u);
}

TEST(Cp932Test, CutMeasuresMixedWidthsOnTheCp932Form)
{
    EXPECT_EQ(Cp932Length("aｱ点"), 4u);                  // 1 + 1 + 2
    EXPECT_EQ(CutToCp932Bytes("aｱ点b", 3), "aｱ");
    EXPECT_EQ(CutToCp932Bytes("aｱ点b", 4), "aｱ点");
    EXPECT_EQ(CutToCp932Bytes("ab\xFF" "cd", 10), "ab");  // invalid UTF-8 ends the text
}

TEST(Cp932Test, FixedFieldStopsAtNul)
{
    const char field[8] = {'a', '\x93', '\x5F', '\0', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(Cp932Bytes::FromCString(field, sizeof(field)).Bytes(), "a\x93\x5F");
    const char full[3] = {'a', 'b', 'c'};
    EXPECT_EQ(Cp932Bytes::FromCString(full, sizeof(full)).Bytes(), "abc");
}

} // namespace
} // namespace tessara
