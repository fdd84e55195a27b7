#include "viewer/files/ModelArchive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::uint8_t> Store(const std::function<void(ModelArchive&)>& body)
{
    std::vector<std::uint8_t> out;
    ModelArchive ar = ModelArchive::ForStoring([&](const std::uint8_t* d, std::size_t n) {
        out.insert(out.end(), d, d + n);
        return true;
    });
    body(ar);
    EXPECT_TRUE(ar.Flush());
    return out;
}

}  // namespace

TEST(ModelArchiveTest, PrimitivesAreLittleEndianWithoutGapsAndReadBack)
{
    std::uint8_t u8 = 0xAB;
    std::int16_t i16 = -2;
    std::uint16_t u16 = 0x0104;
    std::int32_t i32 = -5;
    std::uint32_t u32 = 0x40474C56;
    std::uint64_t u64 = 0x0102030405060708ull;
    float f32 = 1e-7f;
    double f64 = 1e-16;
    const auto bytes = Store([&](ModelArchive& ar) {
        ar.U8(u8), ar.I16(i16), ar.U16(u16), ar.I32(i32), ar.U32(u32), ar.U64(u64), ar.F32(f32), ar.F64(f64);
    });
    ASSERT_EQ(bytes.size(), 1u + 2 + 2 + 4 + 4 + 8 + 4 + 8);
    EXPECT_EQ(bytes[0], 0xAB);
    EXPECT_EQ(bytes[3], 0x04);
    EXPECT_EQ(bytes[4], 0x01);
    EXPECT_EQ(bytes[5], 0xFB);
    EXPECT_EQ(bytes[9], 0x56);
    EXPECT_EQ(bytes[12], 0x40);
    EXPECT_EQ(bytes[13], 0x08);

    ModelArchive in = ModelArchive::ForLoading(bytes);
    std::uint8_t a = 0;
    std::int16_t b = 0;
    std::uint16_t c = 0;
    std::int32_t d = 0;
    std::uint32_t e = 0;
    std::uint64_t f = 0;
    float g = 0;
    double h = 0;
    in.U8(a), in.I16(b), in.U16(c), in.I32(d), in.U32(e), in.U64(f), in.F32(g), in.F64(h);
    EXPECT_TRUE(in.Ok());
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(a, u8);
    EXPECT_EQ(b, i16);
    EXPECT_EQ(c, u16);
    EXPECT_EQ(d, i32);
    EXPECT_EQ(e, u32);
    EXPECT_EQ(f, u64);
    EXPECT_EQ(g, f32);
    EXPECT_EQ(h, f64);
}

struct PrefixCase {
    std::size_t length;
    std::vector<std::uint8_t> prefix;
};

class CountedStringPrefixTest : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(CountedStringPrefixTest, PrefixFormDependsOnLength)
{
    std::string text(GetParam().length, 'a');
    const auto bytes = Store([&](ModelArchive& ar) { ar.CountedString(text); });
    const auto& prefix = GetParam().prefix;
    ASSERT_EQ(bytes.size(), prefix.size() + text.size());
    EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), bytes.begin()));
    ModelArchive in = ModelArchive::ForLoading(bytes);
    std::string back;
    in.CountedString(back);
    EXPECT_TRUE(in.Ok());
    EXPECT_EQ(back, text);
}

INSTANTIATE_TEST_SUITE_P(Lengths, CountedStringPrefixTest,
    ::testing::Values(PrefixCase{0, {0x00}}, PrefixCase{254, {0xFE}}, PrefixCase{255, {0xFF, 0xFF, 0x00}},
                      PrefixCase{0xFFFD, {0xFF, 0xFD, 0xFF}},
                      PrefixCase{0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}}));

TEST(ModelArchiveTest, CountedStringsAreCp932OnDiskAndUtf8InMemory)
{
    std::string name = "点群A";
    const auto bytes = Store([&](ModelArchive& ar) { ar.CountedString(name); });
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{5, 0x93, 0x5F, 0x8C, 0x51, 'A'}));
    std::string bad = "\xF0\x9F\x98\x80";  // no CP932 form
    std::vector<std::uint8_t> none;
    ModelArchive ar = ModelArchive::ForStoring([&](const std::uint8_t* d, std::size_t n) {
        none.insert(none.end(), d, d + n);
        return true;
    });
    ar.CountedString(bad);
    EXPECT_FALSE(ar.Ok());
}

TEST(ModelArchiveTest, WideFormIsReadAsTheCodePageWouldHoldIt)
{
    // 0xFF 0xFFFE marker, then the prefix proper counting UTF-16 units: "点" "A" and
    // an emoji surrogate pair that CP932 cannot hold.
    const std::vector<std::uint8_t> bytes{0xFF, 0xFE, 0xFF, 4, 0xB9, 0x70, 'A', 0, 0x3D, 0xD8, 0x00, 0xDE};
    ModelArchive in = ModelArchive::ForLoading(bytes);
    std::string back;
    in.CountedString(back);
    EXPECT_TRUE(in.Ok());
    EXPECT_EQ(back, "点A?");
}

TEST(ModelArchiveTest, DamagedStringsFailTheArchive)
{
    const std::vector<std::vector<std::uint8_t>> cases{
        {5, 'a', 'b'},                       // shorter than announced
        {0xFF, 0xFD, 0xFF, 'a'},             // 0xFFFD announced
        {0xFF, 0xFE, 0xFF, 3, 'a', 0},       // wide, 3 units announced, 1 present
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}, // wide marker twice
        {2, 0x81, 0x20},                     // lead byte with an invalid trail byte
    };
    for (const auto& bytes : cases) {
        ModelArchive in = ModelArchive::ForLoading(bytes);
        std::string back = "old";
        in.CountedString(back);
        EXPECT_FALSE(in.Ok());
        EXPECT_TRUE(back.empty());
        std::int32_t after = 7;
        in.I32(after);
        EXPECT_EQ(after, 0) << "reads after a failure give zero";
    }
}

TEST(ModelArchiveTest, Text256IsZeroTerminatedAndCutOnACharacterBoundary)
{
    std::string memo(127, 'x');
    for (int i = 0; i < 70; ++i) memo += "点";  // 127 + 140 bytes in CP932
    const auto bytes = Store([&](ModelArchive& ar) { ar.Text256(memo); });
    ASSERT_EQ(bytes.size(), 256u);
    // 127 + 2 * 64 = 255 bytes fit, then the terminator.
    EXPECT_EQ(bytes[255], 0);
    EXPECT_NE(bytes[254], 0);
    ModelArchive in = ModelArchive::ForLoading(bytes);
    std::string back;
    in.Text256(back);
    EXPECT_TRUE(in.Ok());
    EXPECT_EQ(back.size(), 127u + 64 * 3);

    std::vector<std::uint8_t> unterminated(256, 'y');
    unterminated[254] = 0x93;  // a lead byte cut by the field's end
    ModelArchive in2 = ModelArchive::ForLoading(unterminated);
    in2.Text256(back);
    EXPECT_TRUE(in2.Ok());
    EXPECT_EQ(back, std::string(254, 'y'));
}

TEST(ModelArchiveTest, CountsAreBoundedByTheBytesLeft)
{
    ModelArchive in = ModelArchive::ForLoading(std::vector<std::uint8_t>(36 * 3));
    EXPECT_TRUE(in.CountFits(3, 36, "points"));
    EXPECT_TRUE(in.Ok());
    EXPECT_FALSE(in.CountFits(4, 36, "points"));
    EXPECT_FALSE(in.Ok());
    EXPECT_EQ(in.FailureReason(), "points");
    ModelArchive neg = ModelArchive::ForLoading(std::vector<std::uint8_t>(8));
    EXPECT_FALSE(neg.CountFits(-1, 1, "negative"));
    ModelArchive huge = ModelArchive::ForLoading(std::vector<std::uint8_t>(8));
    EXPECT_FALSE(huge.CountFits(INT64_MAX, 12, "huge"));
}

TEST(ModelArchiveTest, FileLoadingCrossesBufferRefillsAndSkips)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("tessara-archive-" + std::to_string(::getpid()) + ".bin");
    const std::uint32_t n = 3'000'000;  // 12 MB: several buffer refills
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        for (std::uint32_t i = 0; i < n; ++i) std::fwrite(&i, 4, 1, f);
        std::fclose(f);
    }
    ModelArchive in = ModelArchive::ForLoadingFile(path.string());
    ASSERT_TRUE(in.Ok());
    EXPECT_EQ(in.Remaining(), 4ull * n);
    std::uint32_t v = 0;
    bool ordered = true;
    for (std::uint32_t i = 0; i < n / 2 && ordered; ++i) {
        in.U32(v);
        ordered = v == i;
    }
    EXPECT_TRUE(ordered);
    in.Skip(4ull * (n / 2 - 1));
    in.U32(v);
    EXPECT_EQ(v, n - 1);
    EXPECT_TRUE(in.Ok());
    in.U32(v);
    EXPECT_FALSE(in.Ok());
    std::filesystem::remove(path);

    ModelArchive missing = ModelArchive::ForLoadingFile(path.string());
    EXPECT_FALSE(missing.Ok());
}

TEST(ModelArchiveTest, FailedSinkFailsTheStore)
{
    ModelArchive ar = ModelArchive::ForStoring([](const std::uint8_t*, std::size_t) { return false; });
    std::uint32_t v = 1;
    ar.U32(v);
    EXPECT_FALSE(ar.Flush());
    EXPECT_FALSE(ar.Ok());
}
