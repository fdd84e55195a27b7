#include "viewer/render/BmpReader.h"

#include "viewer/render/Dib.h"

#include "BmpFixture.h"

#include <gtest/gtest.h>

namespace {

using Status = BmpReader::Status;

BmpFixture Rgb24(int width, int height)
{
    BmpFixture f;
    f.width = width;
    f.height = height;
    f.row = [width](int y) {
        std::vector<std::uint8_t> r;
        for (int x = 0; x < width; ++x) {
            r.push_back(static_cast<std::uint8_t>(x));       // blue
            r.push_back(static_cast<std::uint8_t>(y));       // green
            r.push_back(static_cast<std::uint8_t>(200 + x)); // red
        }
        return r;
    };
    return f;
}

// A small valid file whose header claims other dimensions.
std::vector<std::uint8_t> Patched(std::int32_t width, std::int32_t height)
{
    std::vector<std::uint8_t> b = Rgb24(3, 2).Bytes();
    for (int i = 0; i < 4; ++i) {
        b[18 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (8 * i));
        b[22 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (8 * i));
    }
    return b;
}

}  // namespace

TEST(BmpReader, Width3RowsArePaddedTo4Bytes)
{
    Dib dib;
    ASSERT_EQ(BmpReader::ReadBytes(Rgb24(3, 2).Bytes(), dib), Status::Ok);
    EXPECT_EQ(dib.Width(), 3);
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_EQ(dib.Stride(), 12u);
    EXPECT_EQ(dib.Row(1)[3 * 2 + 0], 2);   // pixel (2, 1) blue
    EXPECT_EQ(dib.Row(1)[3 * 2 + 1], 1);   // green = row
    EXPECT_EQ(dib.Row(1)[3 * 2 + 2], 202); // red
}

TEST(BmpReader, TopDownFileBecomesBottomUp)
{
    BmpFixture f = Rgb24(2, 3);
    f.height = -3;
    Dib dib;
    ASSERT_EQ(BmpReader::ReadBytes(f.Bytes(), dib), Status::Ok);
    EXPECT_EQ(dib.Height(), 3);
    // Stored row 0 is the top of a top-down file, so it lands in Dib row 2.
    EXPECT_EQ(dib.Row(2)[1], 0);
    EXPECT_EQ(dib.Row(0)[1], 2);
}

TEST(BmpReader, EightBitKeepsPaletteAndIndices)
{
    BmpFixture f;
    f.bits = 8;
    f.paletteEntries = 4;
    f.coloursUsed = 4;
    f.row = [](int) { return std::vector<std::uint8_t>{0, 3, 1}; };
    f.palette = [](int i) { return i == 3 ? 0xFFFFFFu : static_cast<std::uint32_t>(0x100000 * (i + 1)); };
    Dib dib;
    ASSERT_EQ(BmpReader::ReadBytes(f.Bytes(), dib), Status::Ok);
    ASSERT_EQ(dib.Palette().size(), 4u);
    EXPECT_EQ(dib.Palette()[3].red, 255);
    EXPECT_EQ(dib.Palette()[0].red, 0x10);
    EXPECT_EQ(dib.Row(0)[1], 3);
    EXPECT_EQ(dib.Stride(), 4u);
}

TEST(BmpReader, ThirtyTwoBitBitFieldsOnlyInBgraOrder)
{
    BmpFixture f = Rgb24(2, 2);
    f.bits = 32;
    f.compression = 3;
    f.row = [](int) { return std::vector<std::uint8_t>(8, 7); };
    f.masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    Dib dib;
    EXPECT_EQ(BmpReader::ReadBytes(f.Bytes(), dib), Status::Ok);
    EXPECT_EQ(dib.Row(1)[7], 7);
    f.masks = {0x000000FFu, 0x0000FF00u, 0x00FF0000u};
    EXPECT_EQ(BmpReader::ReadBytes(f.Bytes(), dib), Status::UnsupportedCompression);
}

TEST(BmpReader, OneBitReadsForTheTextureToRefuse)
{
    BmpFixture f;
    f.bits = 1;
    f.paletteEntries = 2;
    f.row = [](int) { return std::vector<std::uint8_t>{0xA0}; };
    Dib dib;
    ASSERT_EQ(BmpReader::ReadBytes(f.Bytes(), dib), Status::Ok);
    EXPECT_EQ(dib.BitsPerPixel(), 1);
}

struct BadCase {
    const char* name;
    std::function<std::vector<std::uint8_t>()> bytes;
    Status expected;
};

class BmpReaderBadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BmpReaderBadInput, GivesStatusAndLeavesOutputAlone)
{
    Dib dib(1, 1, 24);
    EXPECT_EQ(BmpReader::ReadBytes(GetParam().bytes(), dib), GetParam().expected);
    EXPECT_EQ(dib.Width(), 1);
    EXPECT_EQ(dib.BitsPerPixel(), 24);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BmpReaderBadInput,
    ::testing::Values(
        BadCase{"empty", [] { return std::vector<std::uint8_t>{}; }, Status::ShortHeader},
        BadCase{"shortHeader", [] { auto b = Rgb24(3, 2).Bytes(); b.resize(30); return b; }, Status::ShortHeader},
        BadCase{"notBitmap", [] { auto b = Rgb24(3, 2).Bytes(); b[0] = 'X'; return b; }, Status::NotBitmap},
        BadCase{"truncatedRows", [] { auto b = Rgb24(3, 2).Bytes(); b.resize(b.size() - 1); return b; },
                Status::PixelsOutOfFile},
        BadCase{"zeroWidth", [] { return Rgb24(0, 2).Bytes(); }, Status::BadDimensions},
        BadCase{"hugeWidth", [] { return Patched(0x7FFFFFFF, 2); }, Status::BadDimensions},
        BadCase{"hugeRowsPastEnd", [] { return Patched(60000, -60000); }, Status::BadDimensions},
        BadCase{"tallPastEnd", [] { return Patched(3, 4000); }, Status::PixelsOutOfFile},
        BadCase{"negativeWidth", [] { return Patched(-3, 2); }, Status::BadDimensions},
        BadCase{"offsetPastEnd", [] { auto b = Rgb24(3, 2).Bytes(); b[10] = 0xFF; b[11] = 0xFF; return b; },
                Status::PixelsOutOfFile},
        BadCase{"paletteOver256", [] { BmpFixture f; f.bits = 8; f.coloursUsed = 300; f.paletteEntries = 300;
                                       return f.Bytes(); }, Status::BadPalette},
        BadCase{"rle8", [] { BmpFixture f; f.bits = 8; f.paletteEntries = 256; f.compression = 1; return f.Bytes(); },
                Status::UnsupportedCompression},
        BadCase{"bitFields24", [] { BmpFixture f = Rgb24(3, 2); f.compression = 3;
                                    f.masks = {0xFF0000u, 0xFF00u, 0xFFu}; return f.Bytes(); },
                Status::UnsupportedCompression},
        BadCase{"depth7", [] { BmpFixture f = Rgb24(3, 2); f.bits = 7; return f.Bytes(); },
                Status::UnsupportedDepth}),
    [](const auto& info) { return std::string(info.param.name); });
