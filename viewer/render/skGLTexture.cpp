#include "viewer/render/skGLTexture.h"

#include "viewer/render/Dib.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr int kRed = 0, kGreen = 1, kBlue = 2, kAlpha = 3;

std::uint8_t KeyRed(int key) { return static_cast<std::uint8_t>(key & 0xFF); }
std::uint8_t KeyGreen(int key) { return static_cast<std::uint8_t>((key >> 8) & 0xFF); }
std::uint8_t KeyBlue(int key) { return static_cast<std::uint8_t>((key >> 16) & 0xFF); }

}  // namespace

skGLTexture::skGLTexture(GlFunctions& gl)
    : m_gl(gl), m_params{GL_CLAMP_TO_BORDER, GL_CLAMP_TO_BORDER, GL_LINEAR, GL_LINEAR, GL_MODULATE}
{
}

skGLTexture::~skGLTexture() { DeleteTextureName(); }

void skGLTexture::DeleteTextureName()
{
    if (m_textureName != 0) m_gl.glDeleteTextures(1, &m_textureName);
    m_textureName = 0;
}

bool skGLTexture::Create(std::unique_ptr<Dib> bitmap, int colourKey, bool buildNow)
{
    if (!bitmap || !IsSupportedFormat(*bitmap)) return false;
    m_width = bitmap->Width();
    m_height = bitmap->Height();
    m_bitsPerPixel = bitmap->BitsPerPixel();
    m_bitmap = std::move(bitmap);
    m_buildNow = buildNow;
    m_colourKey = colourKey;
    m_paletteMode = false;
    switch (m_bitsPerPixel) {
    case 8: Prepare8Bit(); break;
    case 24: Prepare24Bit(); break;
    default: m_pixelFormat = GL_BGRA; break;
    }
    if (m_buildNow && !CreateTexture()) {
        m_bitmap.reset();
        return false;
    }
    return true;
}

bool skGLTexture::Release()
{
    DeleteTextureName();
    const bool had = m_bitmap != nullptr;
    m_bitmap.reset();
    return had;
}

const Dib* skGLTexture::GetBitmap() const { return m_bitmap.get(); }

void skGLTexture::Bind()
{
    if (!m_bitmap) {
        m_gl.glDisable(GL_TEXTURE_2D);
        return;
    }
    m_gl.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, m_params[kEnvMode]);
    if (m_textureName == 0) m_gl.glGenTextures(1, &m_textureName);
    m_gl.glBindTexture(GL_TEXTURE_2D, m_textureName);
    if (!m_buildNow) Upload();
    m_gl.glEnable(GL_TEXTURE_2D);
}

int skGLTexture::GetParam(int index) const
{
    return index >= 0 && index < static_cast<int>(m_params.size()) ? m_params[static_cast<std::size_t>(index)] : 0;
}

int skGLTexture::SetParam(int index, int value)
{
    if (index >= 0 && index < static_cast<int>(m_params.size())) m_params[static_cast<std::size_t>(index)] = value;
    return index;
}

void skGLTexture::GetPaletteColor(std::uint8_t out[4], int index) const
{
    if (!m_paletteMode || index < 0 || index > 255) {
        std::memset(out, 0, 4);
        return;
    }
    const auto i = static_cast<std::size_t>(index);
    out[0] = static_cast<std::uint8_t>(m_tables[kBlue][i] * 255.0f);
    out[1] = static_cast<std::uint8_t>(m_tables[kGreen][i] * 255.0f);
    out[2] = static_cast<std::uint8_t>(m_tables[kRed][i] * 255.0f);
    out[3] = static_cast<std::uint8_t>(m_tables[kAlpha][i] * 255.0f);
}

void skGLTexture::SetPaletteColor(int index, std::uint32_t argb)
{
    if (!m_paletteMode || index < 0 || index > 255) return;
    const auto i = static_cast<std::size_t>(index);
    m_tables[kAlpha][i] = static_cast<float>((argb >> 24) & 0xFF) / 255.0f;
    m_tables[kRed][i] = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
    m_tables[kGreen][i] = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
    m_tables[kBlue][i] = static_cast<float>(argb & 0xFF) / 255.0f;
}

int skGLTexture::FindPaletteColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const
{
    if (!m_paletteMode) return -1;
    for (std::size_t i = 0; i < 256; ++i) {
        if (static_cast<std::uint8_t>(m_tables[kRed][i] * 255.0f) == red &&
            static_cast<std::uint8_t>(m_tables[kGreen][i] * 255.0f) == green &&
            static_cast<std::uint8_t>(m_tables[kBlue][i] * 255.0f) == blue)
            return static_cast<int>(i);
    }
    return -1;
}

bool skGLTexture::IsSupportedFormat(const Dib& bitmap) const
{
    const int bits = bitmap.BitsPerPixel();
    return !bitmap.IsEmpty() && (bits == 8 || bits == 24 || bits == 32);
}

bool skGLTexture::IsPowerOfTwo(int value) const
{
    return value > 0 && value <= (1 << 29) && (value & (value - 1)) == 0;
}

void skGLTexture::Prepare8Bit()
{
    m_pixelFormat = GL_COLOR_INDEX;
    BuildPalette();
}

void skGLTexture::Prepare24Bit()
{
    if (m_colourKey != kNoColourKey) {
        m_pixelFormat = GL_BGRA;
        m_bitsPerPixel = 32;
        ConvertTo32Bit();
    } else {
        m_pixelFormat = GL_BGR;
    }
}

void skGLTexture::BuildPalette()
{
    m_paletteMode = true;
    const auto& palette = m_bitmap->Palette();
    for (std::size_t i = 0; i < 256; ++i) {
        // Entries beyond a short colour table are black, as Windows gives them.
        const Dib::PaletteEntry e = i < palette.size() ? palette[i] : Dib::PaletteEntry{};
        m_tables[kRed][i] = e.red / 255.0f;
        m_tables[kGreen][i] = e.green / 255.0f;
        m_tables[kBlue][i] = e.blue / 255.0f;
        const bool keyed = m_colourKey != kNoColourKey && e.red == KeyRed(m_colourKey) &&
                           e.green == KeyGreen(m_colourKey) && e.blue == KeyBlue(m_colourKey);
        m_tables[kAlpha][i] = keyed ? 0.0f : 1.0f;
    }
}

void skGLTexture::ConvertTo32Bit()
{
    auto converted = std::make_unique<Dib>(m_width, m_height, 32);
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t* source = m_bitmap->Row(y);
        std::uint8_t* target = converted->Row(y);
        for (int x = 0; x < m_width; ++x, source += 3, target += 4) {
            target[0] = source[0];
            target[1] = source[1];
            target[2] = source[2];
            const bool keyed = source[0] == KeyBlue(m_colourKey) && source[1] == KeyGreen(m_colourKey) &&
                               source[2] == KeyRed(m_colourKey);
            target[3] = keyed ? 0 : 255;
        }
    }
    m_bitmap = std::move(converted);
}

bool skGLTexture::CreateTexture()
{
    m_gl.glGenTextures(1, &m_textureName);
    m_gl.glBindTexture(GL_TEXTURE_2D, m_textureName);
    const bool uploaded = Upload();
    m_gl.glBindTexture(GL_TEXTURE_2D, 0);
    if (!uploaded) DeleteTextureName();
    return uploaded;
}

bool skGLTexture::Upload()
{
    if (!m_bitmap) return false;
    GLint maxSize = 0;
    m_gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (m_width > maxSize || m_height > maxSize) return false;
    while (m_gl.glGetError() != GL_NO_ERROR) {
    }

    m_gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, m_params[kWrapS]);
    m_gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, m_params[kWrapT]);
    m_gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, m_params[kMagFilter]);
    m_gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, m_params[kMinFilter]);
    m_gl.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, m_params[kEnvMode]);
    m_gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    m_gl.glPixelTransferi(GL_MAP_COLOR, GL_FALSE);

    if (m_paletteMode) {
        // Colour-index uploads are gone from current drivers: the palette
        // tables expand the indices here, which gives the same texels.
        std::vector<std::uint8_t> rgba;
        try {
            rgba.resize(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height) * 4);
        } catch (const std::bad_alloc&) {
            return false;
        }
        std::uint8_t* out = rgba.data();
        for (int y = 0; y < m_height; ++y) {
            const std::uint8_t* row = m_bitmap->Row(y);
            for (int x = 0; x < m_width; ++x, out += 4) {
                const std::uint8_t index = row[x];
                for (int c = 0; c < 4; ++c)
                    out[c] = static_cast<std::uint8_t>(m_tables[static_cast<std::size_t>(c)][index] * 255.0f + 0.5f);
            }
        }
        m_gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        m_gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, m_width, m_height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        m_gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    } else {
        m_gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, m_width, m_height, 0, m_pixelFormat, GL_UNSIGNED_BYTE,
                          m_bitmap->Bits());
    }
    return m_gl.glGetError() == GL_NO_ERROR;
}
