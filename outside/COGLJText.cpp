#include "outside/COGLJText.h"

#include "outside/FontMatch.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions_1_0>
#include <QOpenGLVersionFunctionsFactory>

#include <locale.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <vector>

struct COGLJText::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face()
    {
        if (face != nullptr) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
};

namespace {

// Decodes one UTF-8 character; malformed bytes come back as U+FFFD, one byte each.
char32_t NextCodePoint(const std::string& text, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; }
    else { ++i; return 0xFFFD; }
    for (int k = 1; k <= extra; ++k) {
        if (i + static_cast<std::size_t>(k) >= text.size() || (byte(i + static_cast<std::size_t>(k)) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = cp << 6 | (byte(i + static_cast<std::size_t>(k)) & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

QOpenGLFunctions_1_0* CurrentGl()
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (context == nullptr) return nullptr;
    auto* gl = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_0>(context);
    return gl != nullptr && gl->initializeOpenGLFunctions() ? gl : nullptr;
}

}  // namespace

std::string COGLJText::FindFontFile(const std::string& fontName)
{
    if (FcInit() == FcFalse) return {};
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(fontName.c_str()));
    // The Windows names are not installed here: asking for Japanese coverage
    // makes fontconfig fall back to a Japanese face instead of a Latin one.
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddLangSet(pattern, FC_LANG, langs);
    FcLangSetDestroy(langs);
    return MatchedFontFile(pattern);
}

COGLJText::COGLJText(const std::string& fontName, int pixelSize, int origin)
    : m_face(std::make_unique<Face>()), m_origin(origin)
{
    const std::string file = FindFontFile(fontName);
    if (file.empty() || FT_Init_FreeType(&m_face->library) != 0 ||
        FT_New_Face(m_face->library, file.c_str(), 0, &m_face->face) != 0 ||
        FT_Set_Pixel_Sizes(m_face->face, 0, static_cast<FT_UInt>(pixelSize > 0 ? pixelSize : 14)) != 0) {
        m_face.reset();
    }
}

COGLJText::~COGLJText() = default;

bool COGLJText::HasFont() const { return m_face != nullptr && m_face->face != nullptr; }

void COGLJText::Format(const char* format, ...)
{
    // The numbers of captions are written with a decimal point whatever the
    // user's locale: switch this thread to the C locale for the formatting.
    locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    locale_t previous = cLocale != nullptr ? uselocale(cLocale) : nullptr;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length >= 0) {
        m_text.assign(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(m_text.data(), m_text.size(), format, args);
        m_text.resize(static_cast<std::size_t>(length));
    } else {
        m_text.clear();
    }
    va_end(args);
    if (cLocale != nullptr) {
        uselocale(previous);
        freelocale(cLocale);
    }
}

void COGLJText::Render()
{
    QOpenGLFunctions_1_0* gl = CurrentGl();
    if (gl == nullptr || !HasFont() || m_text.empty()) return;
    FT_Face face = m_face->face;

    std::vector<FT_UInt> glyphs;
    long advance26 = 0;
    for (std::size_t i = 0; i < m_text.size();) {
        const FT_UInt glyph = FT_Get_Char_Index(face, NextCodePoint(m_text, i));
        glyphs.push_back(glyph);
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0) advance26 += face->glyph->advance.x;
    }
    float dx = 0.0f;
    float dy = 0.0f;
    if (m_origin == kOriginBaselineCentre || m_origin == kOriginCentre) dx = -static_cast<float>(advance26) / 128.0f;
    if (m_origin == kOriginCentre)
        dy = -static_cast<float>(face->size->metrics.ascender + face->size->metrics.descender) / 128.0f;

    GLint alignment = 4;
    gl->glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl->glBitmap(0, 0, 0, 0, dx, dy, nullptr);
    std::vector<GLubyte> rows;
    for (FT_UInt glyph : glyphs) {
        if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const int rowBytes = static_cast<int>((bitmap.width + 7) / 8);
        rows.assign(static_cast<std::size_t>(rowBytes) * bitmap.rows, 0);
        // FreeType gives rows top-down; glBitmap wants them bottom-up.
        for (unsigned r = 0; r < bitmap.rows; ++r) {
            const unsigned char* source = bitmap.buffer + static_cast<long>(r) * bitmap.pitch;
            std::copy(source, source + rowBytes, rows.begin() + static_cast<long>(bitmap.rows - 1 - r) * rowBytes);
        }
        gl->glBitmap(static_cast<GLsizei>(bitmap.width), static_cast<GLsizei>(bitmap.rows),
                     static_cast<float>(-slot->bitmap_left),
                     static_cast<float>(static_cast<int>(bitmap.rows) - slot->bitmap_top),
                     static_cast<float>(slot->advance.x) / 64.0f, 0.0f, rows.empty() ? nullptr : rows.data());
    }
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}
