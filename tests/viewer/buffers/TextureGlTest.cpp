#include "BmpFixture.h"

#include "viewer/render/Dib.h"
#include "viewer/render/TextureFile.h"
#include "viewer/render/skGLTexture.h"

#include "platform/Files.h"
#include "platform/gltest/GlTest.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class TextureTest : public tessara::GlTest {
protected:
    void SetUp() override
    {
        tessara::GlTest::SetUp();
        m_gl = CurrentGlFunctions();
        ASSERT_NE(m_gl, nullptr);
        char pattern[] = "/tmp/tessara-texture-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_copy = m_dir + "/~KorfelModel_Texture.tmp";
    }
    void TearDown() override
    {
        m_texture.reset();
        std::filesystem::remove_all(m_dir);
        tessara::GlTest::TearDown();
    }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = m_dir + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    TextureFile::Status Install(const std::string& path) { return TextureFile::Install(*m_gl, path, m_copy, m_texture); }

    //! The texture's texels as RGBA, bottom row first.
    std::vector<std::uint32_t> Texels(int width, int height)
    {
        std::vector<std::uint32_t> texels(static_cast<std::size_t>(width * height));
        m_gl->glBindTexture(GL_TEXTURE_2D, m_texture->TextureName());
        m_gl->glPixelStorei(GL_PACK_ALIGNMENT, 1);
        m_gl->glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        m_gl->glBindTexture(GL_TEXTURE_2D, 0);
        return texels;
    }

    GlFunctions* m_gl = nullptr;
    std::string m_dir;
    std::string m_copy;
    std::unique_ptr<skGLTexture> m_texture;
};

BmpFixture Rgb24WithWhite()
{
    BmpFixture f;  // 3 x 2; pixel (2, 1) white
    f.row = [](int y) {
        std::vector<std::uint8_t> r = {10, 20, 30, 40, 50, 60, 70, 80, 90};
        if (y == 1) r[6] = r[7] = r[8] = 255;
        return r;
    };
    return f;
}

}  // namespace

TEST_F(TextureTest, TwentyFourBitKeysWhiteWithoutRowSkew)
{
    ASSERT_EQ(Install(Write("a.bmp", Rgb24WithWhite().Bytes())), TextureFile::Status::Ok);
    EXPECT_EQ(m_texture->GetBitmap()->BitsPerPixel(), 32);
    const std::vector<std::uint32_t> t = Texels(3, 2);
    EXPECT_EQ(t[0], 0xFF0A141Eu);  // B 10 G 20 R 30 -> RGBA (30, 20, 10, 255)
    EXPECT_EQ(t[4], 0xFF28323Cu);  // row 1, pixel 1: B 40 G 50 R 60
    EXPECT_EQ(t[5], 0x00FFFFFFu);  // white: alpha 0
    EXPECT_TRUE(tessara::FileExists(m_copy));
}

TEST_F(TextureTest, EightBitPaletteGivesWhiteAlphaZero)
{
    BmpFixture f;
    f.bits = 8;
    f.paletteEntries = 3;
    f.coloursUsed = 3;
    f.palette = [](int i) { return i == 2 ? 0xFFFFFFu : (i == 1 ? 0x00336699u : 0u); };
    f.row = [](int) { return std::vector<std::uint8_t>{0, 1, 2}; };
    ASSERT_EQ(Install(Write("p.bmp", f.Bytes())), TextureFile::Status::Ok);
    EXPECT_TRUE(m_texture->InPaletteMode());
    const std::vector<std::uint32_t> t = Texels(3, 2);
    EXPECT_EQ(t[0], 0xFF000000u);
    EXPECT_EQ(t[1], 0xFF996633u);
    EXPECT_EQ(t[2], 0x00FFFFFFu);
    EXPECT_EQ(m_texture->FindPaletteColor(0x33, 0x66, 0x99), 1);
}

TEST_F(TextureTest, ThirtyTwoBitUploadsAsStored)
{
    BmpFixture f;
    f.bits = 32;
    f.row = [](int) { return std::vector<std::uint8_t>{255, 255, 255, 255, 1, 2, 3, 128, 0, 0, 0, 7}; };
    ASSERT_EQ(Install(Write("b.bmp", f.Bytes())), TextureFile::Status::Ok);
    const std::vector<std::uint32_t> t = Texels(3, 2);
    EXPECT_EQ(t[0], 0xFFFFFFFFu);  // no key processing for 32-bit
    EXPECT_EQ(t[1], 0x80010203u);
    EXPECT_EQ(m_texture->FindPaletteColor(1, 2, 3), -1);
}

struct FailCase {
    const char* name;
    std::function<std::vector<std::uint8_t>()> bytes;
    TextureFile::Status status;
};

class TextureFailureTest : public TextureTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(TextureFailureTest, KeepsPreviousTextureAndCopy)
{
    const std::vector<std::uint8_t> good = Rgb24WithWhite().Bytes();
    ASSERT_EQ(Install(Write("good.bmp", good)), TextureFile::Status::Ok);
    skGLTexture* before = m_texture.get();
    const GLuint name = before->TextureName();
    EXPECT_EQ(Install(Write("bad.bmp", GetParam().bytes())), GetParam().status);
    EXPECT_EQ(m_texture.get(), before);
    EXPECT_EQ(m_gl->glIsTexture(name), GL_TRUE);
    const std::optional<std::string> copy = tessara::ReadWholeFile(m_copy);
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(*copy, std::string(good.begin(), good.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextureFailureTest,
    ::testing::Values(
        FailCase{"truncated", [] { auto b = Rgb24WithWhite().Bytes(); b.resize(b.size() - 3); return b; },
                 TextureFile::Status::BadBitmap},
        FailCase{"hugeValues", [] { auto b = Rgb24WithWhite().Bytes(); b[21] = 0x7F; b[25] = 0x7F; return b; },
                 TextureFile::Status::BadBitmap},
        FailCase{"oneBit", [] { BmpFixture f; f.bits = 1; f.paletteEntries = 2; return f.Bytes(); },
                 TextureFile::Status::TextureRefused},
        FailCase{"beyondMaxTextureSize", [] { BmpFixture f; f.bits = 8; f.paletteEntries = 2; f.width = 60000;
                                              f.height = 1; return f.Bytes(); },
                 TextureFile::Status::TextureRefused}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TextureTest, MissingFileKeepsEverything)
{
    EXPECT_EQ(Install(m_dir + "/none.bmp"), TextureFile::Status::ReadFailed);
    EXPECT_EQ(m_texture, nullptr);
    EXPECT_FALSE(tessara::FileExists(m_copy));
}

TEST_F(TextureTest, PowerOfTwo)
{
    skGLTexture texture(*m_gl);
    EXPECT_FALSE(texture.IsPowerOfTwo(0));
    EXPECT_FALSE(texture.IsPowerOfTwo(3));
    EXPECT_FALSE(texture.IsPowerOfTwo(1 << 30));
    EXPECT_TRUE(texture.IsPowerOfTwo(1));
    EXPECT_TRUE(texture.IsPowerOfTwo(1 << 29));
}
