#include "outside/TJFONT.h"

#include "outside/FontMatch.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// Straight pieces a curve of the outline becomes.
constexpr int kCurveSteps = 4;

// The first font file of the folder, in name order.
std::string FontFileIn(const std::string& folder)
{
    std::error_code ec;
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (entry.is_regular_file(ec) && (ext == ".ttf" || ext == ".otf" || ext == ".ttc"))
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files.empty() ? std::string() : files.front();
}

// The system's Japanese gothic face.
std::string SystemGothic()
{
    if (FcInit() == FcFalse)
        return {};
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("IPAGothic:lang=ja"));
    if (pattern == nullptr)
        return {};
    return MatchedFontFile(pattern);
}

// Next code point of UTF-8 text; an invalid byte counts as U+FFFD.
char32_t NextCodePoint(const std::string& s, std::size_t& i)
{
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80)
        return b0;
    int extra = b0 >= 0xF0 ? 3 : (b0 >= 0xE0 ? 2 : (b0 >= 0xC0 ? 1 : -1));
    if (extra < 0)
        return 0xFFFD;
    char32_t cp = b0 & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

// Collects an outline as strokes, scaled and placed.
struct Flattener {
    const JECFONT* font;
    void (*emit)(const JECFONT*, const LN&);
    double scale;
    double ox;
    double oy;
    double cx = 0.0;
    double cy = 0.0;

    PT Map(double x, double y) const { return PT(ox + x * scale, oy + y * scale, 0.0); }
    void LineTo(double x, double y)
    {
        emit(font, LN(Map(cx, cy), Map(x, y)));
        cx = x;
        cy = y;
    }
};

int MoveTo(const FT_Vector* to, void* user)
{
    auto* f = static_cast<Flattener*>(user);
    f->cx = static_cast<double>(to->x);
    f->cy = static_cast<double>(to->y);
    return 0;
}

int LineTo(const FT_Vector* to, void* user)
{
    static_cast<Flattener*>(user)->LineTo(static_cast<double>(to->x), static_cast<double>(to->y));
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    auto* f = static_cast<Flattener*>(user);
    const double x0 = f->cx, y0 = f->cy;
    for (int s = 1; s <= kCurveSteps; ++s) {
        const double t = static_cast<double>(s) / kCurveSteps;
        const double a = (1 - t) * (1 - t), b = 2 * (1 - t) * t, c = t * t;
        f->LineTo(a * x0 + b * control->x + c * to->x, a * y0 + b * control->y + c * to->y);
    }
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    auto* f = static_cast<Flattener*>(user);
    const double x0 = f->cx, y0 = f->cy;
    for (int s = 1; s <= kCurveSteps; ++s) {
        const double t = static_cast<double>(s) / kCurveSteps;
        const double u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        f->LineTo(a * x0 + b * c1->x + c * c2->x + d * to->x, a * y0 + b * c1->y + c * c2->y + d * to->y);
    }
    return 0;
}

} // namespace

struct TJFONT::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face()
    {
        if (face != nullptr)
            FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }
};

TJFONT::TJFONT(const std::string& fontFolder)
{
    std::string file = fontFolder.empty() ? std::string() : FontFileIn(fontFolder);
    if (file.empty())
        file = SystemGothic();
    if (file.empty())
        return;
    auto face = std::make_unique<Face>();
    if (FT_Init_FreeType(&face->library) != 0)
        return;
    if (FT_New_Face(face->library, file.c_str(), 0, &face->face) != 0 || face->face->units_per_EM == 0 ||
        !FT_IS_SCALABLE(face->face)) {
        return;
    }
    m_face = std::move(face);
}

TJFONT::~TJFONT() = default;

bool TJFONT::IsValid() const
{
    return m_face != nullptr;
}

int TJFONT::String(const std::string& text)
{
    int count = 0;
    const double halfAdvance = m_size * 0.5;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t cp = NextCodePoint(text, i);
        ++count;
        // Half-width characters take half the height in width, others the height.
        double advance = cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F) ? halfAdvance : m_size;
        if (m_face != nullptr) {
            FT_Face face = m_face->face;
            const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<FT_ULong>(cp));
            if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) == 0 &&
                face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
                const double scale = m_size / static_cast<double>(face->units_per_EM);
                // The em box stands on the baseline at the descender, so a glyph
                // fills 0..size in height.
                Flattener flat{this, [](const JECFONT* f, const LN& ln) { static_cast<const TJFONT*>(f)->Emit(ln); },
                               scale, m_x, m_y - static_cast<double>(face->descender) * scale};
                FT_Outline_Funcs funcs{};
                funcs.move_to = MoveTo;
                funcs.line_to = LineTo;
                funcs.conic_to = ConicTo;
                funcs.cubic_to = CubicTo;
                // Contours close themselves: FreeType ends each with a line back to its start.
                FT_Outline_Decompose(&face->glyph->outline, &funcs, &flat);
            }
        }
        m_x += advance;
    }
    return count;
}
