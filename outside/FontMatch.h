#pragma once

#include <fontconfig/fontconfig.h>

#include <string>

// The file of the installed face fontconfig matches best to `pattern`, after its
// configured and default substitutions; empty when none matches. Takes the pattern
// (destroys it).
std::string MatchedFontFile(FcPattern* pattern);
