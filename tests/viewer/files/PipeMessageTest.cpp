#include "viewer/files/PipeMessage.h"
#include "viewer/files/PipePaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

TEST(PipeMessageTest, IntegersAndDoublesAreLittleEndianAtTheirOffsets)
{
    PipeMessage m;
    m.SetCode(4);
    m.SetResult(0x01020304);
    m.SetDoubleAt(PipeMessage::kClipRectOffset, 1.5);
    m.SetInt32At(PipeMessage::kTextureSwitchesOffset + 8, -2);
    const std::uint8_t* b = m.Data();
    EXPECT_EQ(b[0], 4);
    EXPECT_EQ(b[1], 0x04);
    EXPECT_EQ(b[4], 0x01);
    // 1.5 = 0x3FF8000000000000
    EXPECT_EQ(b[537 + 6], 0xF8);
    EXPECT_EQ(b[537 + 7], 0x3F);
    EXPECT_EQ(m.DoubleAt(PipeMessage::kClipRectOffset), 1.5);
    EXPECT_EQ(m.Int32At(313), -2);
    EXPECT_EQ(b[313], 0xFE);
    EXPECT_EQ(b[316], 0xFF);
}

TEST(PipeMessageTest, LastFieldEndsAtTheLastByteAndNothingReachesPastIt)
{
    PipeMessage m;
    m.SetInt32At(585, -1);
    EXPECT_EQ(m.Data()[588], 0xFF);
    m.SetInt32At(586, 7);  // would pass the end: ignored
    EXPECT_EQ(m.Int32At(585), -1);
    EXPECT_EQ(m.Int32At(586), 0);
    EXPECT_EQ(PipeMessage::kSize, 589u);
}

TEST(PipeMessageTest, UnterminatedPathFieldIsNoPath)
{
    PipeMessage m;
    std::fill(m.Data() + 5, m.Data() + 265, std::uint8_t('a'));
    EXPECT_FALSE(m.RawTextAt(PipeMessage::kPathOffset).has_value());
    EXPECT_FALSE(PipePathAt(m, PipeMessage::kPathOffset).has_value());
    m.Data()[264] = 0;
    ASSERT_TRUE(m.RawTextAt(PipeMessage::kPathOffset).has_value());
    EXPECT_EQ(m.RawTextAt(PipeMessage::kPathOffset)->size(), 259u);
}

TEST(PipeMessageTest, PathsTravelAsCp932AndAreRefusedNotCutWhenTooLong)
{
    PipeMessage m;
    ASSERT_TRUE(SetPipePathAt(m, PipeMessage::kPathOffset, "/tmp/点群.dat"));
    // "点群" is four CP932 bytes.
    EXPECT_EQ(m.RawTextAt(PipeMessage::kPathOffset)->size(), 13u);
    EXPECT_EQ(*PipePathAt(m, PipeMessage::kPathOffset), "/tmp/点群.dat");

    const std::string fits(259, 'x');
    EXPECT_TRUE(SetPipePathAt(m, PipeMessage::kPathOffset, fits));
    const std::string tooLong = std::string(258, 'x') + "点";  // 260 CP932 bytes
    EXPECT_FALSE(SetPipePathAt(m, PipeMessage::kPathOffset, tooLong));
    EXPECT_EQ(*PipePathAt(m, PipeMessage::kPathOffset), fits);
    EXPECT_FALSE(SetPipePathAt(m, PipeMessage::kPathOffset, "\xF0\x9F\x98\x80"));  // no CP932 form
}
