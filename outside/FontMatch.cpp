#include "outside/FontMatch.h"

std::string MatchedFontFile(FcPattern* pattern)
{
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    FcChar8* path = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        file = reinterpret_cast<const char*>(path);
    if (match != nullptr) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return file;
}
