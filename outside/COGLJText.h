#pragma once

#include <memory>
#include <string>

// Draws a line of text (UTF-8, Japanese included) with OpenGL bitmaps at the
// current raster position, in the current raster colour. The font is found by
// name through fontconfig; a Windows font name such as "ＭＳ ゴシック" falls
// back to the installed Japanese gothic face.
class COGLJText {
public:
    //! Where the raster position sits on the text: 0 start of the baseline,
    //! 1 middle of the baseline, 2 centre of the text's box.
    enum Origin { kOriginBaselineLeft = 0, kOriginBaselineCentre = 1, kOriginCentre = 2 };

    COGLJText(const std::string& fontName, int pixelSize, int origin);
    ~COGLJText();
    COGLJText(const COGLJText&) = delete;
    COGLJText& operator=(const COGLJText&) = delete;

    //! printf-style; the text is formatted in the C locale.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    //! Draws the formatted text with the context current; nothing without a font.
    void Render();

    bool HasFont() const;
    const std::string& Text() const { return m_text; }
    //! The font file fontconfig chose for a name, or empty.
    static std::string FindFontFile(const std::string& fontName);

private:
    struct Face;
    std::unique_ptr<Face> m_face;
    std::string m_text;
    int m_origin;
};
