#include "viewer/dialogs/LegendFonts.h"

#include <fontconfig/fontconfig.h>

#include <memory>

#include "viewer/dialogs/LegendDrawing.h"

namespace {

// The family fontconfig picks for the pattern, or empty when it picks none.
QString MatchedFamily(const char* pattern)
{
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> wanted(
        FcNameParse(reinterpret_cast<const FcChar8*>(pattern)), &FcPatternDestroy);
    if (!wanted) return {};
    FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern);
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(
        FcFontMatch(nullptr, wanted.get(), &result), &FcPatternDestroy);
    FcChar8* family = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch) return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(family));
}

QFont MakeFont(const char* pattern, QFont::StyleHint hint, bool fixedPitch)
{
    QFont font;
    const QString family = MatchedFamily(pattern);
    if (!family.isEmpty()) font.setFamily(family);
    font.setStyleHint(hint);
    font.setFixedPitch(fixedPitch);
    font.setPixelSize(kLegendFontPx);
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
