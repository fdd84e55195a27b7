#pragma once

#include "outside/JECFONT.h"

#include <memory>
#include <string>

// The stroke font on an outline font: a TrueType or OpenType file in the given
// font folder, or else the system's Japanese gothic face (fontconfig). Each glyph
// outline is flattened into straight strokes. Without a usable face String() emits
// nothing but still advances the position.
class TJFONT : public JECFONT {
public:
    explicit TJFONT(const std::string& fontFolder);
    ~TJFONT() override;

    // True when a font face was loaded.
    bool IsValid() const;
    int String(const std::string& text) override;

private:
    struct Face;
    std::unique_ptr<Face> m_face;
};
