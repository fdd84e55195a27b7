#pragma once

#include "viewer/render/GlFunctions.h"

#include <array>
#include <cstdint>
#include <memory>

class Dib;

// One OpenGL texture made from a bitmap: 8-bit paletted (with a colour key
// through the palette's alpha), 24-bit (colour key by a 32-bit copy) or 32-bit
// BGRA. Created and destroyed with its context current.
class skGLTexture {
public:
    static constexpr int kNoColourKey = -1;
    enum ParamIndex { kWrapS = 0, kWrapT = 1, kMagFilter = 2, kMinFilter = 3, kEnvMode = 4 };

    explicit skGLTexture(GlFunctions& gl);
    virtual ~skGLTexture();
    skGLTexture(const skGLTexture&) = delete;
    skGLTexture& operator=(const skGLTexture&) = delete;

    //! Takes the bitmap when its depth is 8, 24 or 32; false changes nothing.
    //! With buildNow the texture is made here: false too when GL refuses it
    //! (too large, out of memory), and then nothing of it stays.
    virtual bool Create(std::unique_ptr<Dib> bitmap, int colourKey, bool buildNow);
    virtual bool Release();
    virtual const Dib* GetBitmap() const;
    virtual void Bind();
    virtual int GetParam(int index) const;
    virtual int SetParam(int index, int value);
    //! Blue, green, red, alpha of a palette entry; zeros outside palette mode.
    virtual void GetPaletteColor(std::uint8_t out[4], int index) const;
    virtual void SetPaletteColor(int index, std::uint32_t argb);
    virtual int FindPaletteColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const;
    virtual bool IsSupportedFormat(const Dib& bitmap) const;
    virtual bool IsPowerOfTwo(int value) const;
    virtual void Prepare8Bit();
    virtual void Prepare24Bit();
    virtual void BuildPalette();
    virtual void ConvertTo32Bit();
    virtual bool CreateTexture();
    virtual bool Upload();

    GLuint TextureName() const { return m_textureName; }
    GLenum PixelFormat() const { return m_pixelFormat; }
    bool InPaletteMode() const { return m_paletteMode; }

private:
    void DeleteTextureName();

    GlFunctions& m_gl;
    std::unique_ptr<Dib> m_bitmap;
    int m_width = 0;
    int m_height = 0;
    int m_bitsPerPixel = 0;
    bool m_buildNow = true;
    int m_colourKey = kNoColourKey;
    GLuint m_textureName = 0;
    GLenum m_pixelFormat = 0;
    std::array<GLint, 5> m_params{};
    bool m_paletteMode = false;
    std::array<std::array<float, 256>, 4> m_tables{};  // red, green, blue, alpha
};
