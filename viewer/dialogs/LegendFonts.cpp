#include "viewer/dialogs/LegendFonts.h"

#include <QFontMetrics>

#include <fontconfig/fontconfig.h>

#include <memory>

#include "viewer/dialogs/LegendDrawing.h"

namespace {

using PatternPtr = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;

bool IsFixedPitch(FcPattern* font)
{
    int spacing = FC_PROPORTIONAL;
    FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
    return spacing == FC_MONO || spacing == FC_DUAL || spacing == FC_CHARCELL;
}

bool WritesJapanese(FcPattern* font)
{
    FcLangSet* languages = nullptr;
    return FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch &&
           FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
}

// The family of the best Japanese font fontconfig offers for the pattern whose
// pitch is the one asked for (fontconfig ranks the pitch below the family and the
// language, so a plain match may give a fixed-pitch face for a proportional
// one); the best font of any pitch when none has it; empty when there is none.
QString MatchedFamily(const char* pattern, bool fixedPitch)
{
    const PatternPtr wanted(FcNameParse(reinterpret_cast<const FcChar8*>(pattern)), &FcPatternDestroy);
    if (!wanted) return {};
    FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern);
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontSort(nullptr, wanted.get(), FcFalse, nullptr, &result), &FcFontSetDestroy);
    if (!fonts || fonts->nfont == 0) return {};
    FcPattern* chosen = fonts->fonts[0];
    for (int i = 0; i < fonts->nfont; ++i) {
        if (IsFixedPitch(fonts->fonts[i]) == fixedPitch && WritesJapanese(fonts->fonts[i])) {
            chosen = fonts->fonts[i];
            break;
        }
    }
    FcChar8* family = nullptr;
    if (FcPatternGetString(chosen, FC_FAMILY, 0, &family) != FcResultMatch) return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(family));
}

QFont MakeFont(const char* pattern, QFont::StyleHint hint, bool fixedPitch)
{
    QFont font;
    const QString family = MatchedFamily(pattern, fixedPitch);
    if (!family.isEmpty()) font.setFamily(family);
    font.setStyleHint(hint);
    font.setFixedPitch(fixedPitch);
    // The height is the character cell's (ascent plus descent), as the legends'
    // line spacing of height + 2 expects: the largest em size whose cell fits.
    for (int px = kLegendFontPx; px > kLegendFontPx / 2; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).height() <= kLegendFontPx) break;
    }
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace

const QFont& LegendFont()
{
    static const QFont font = MakeFont("Meiryo UI:lang=ja", QFont::Serif, false);
    return font;
}

const QFont& HintFont()
{
    static const QFont font = MakeFont("monospace:lang=ja:spacing=mono", QFont::Monospace, true);
    return font;
}
