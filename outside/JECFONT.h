#pragma once

#include "outside/LN.h"

#include <string>

// The stroke-font interface: text turned into line strokes handed one by one to a
// line procedure, in font units (x along the text, y up, z 0). TJFONT supplies the
// glyph shapes.
class JECFONT {
public:
    // Receives each stroke; called on the caller's thread, inside String().
    using LineProc = void (*)(const LN& stroke);

    JECFONT() = default;
    virtual ~JECFONT() = default;
    JECFONT(const JECFONT&) = delete;
    JECFONT& operator=(const JECFONT&) = delete;

    void SetLineProc(LineProc proc) { m_lineProc = proc; }
    // Character height in font units; a half-width character advances half of it.
    void SetSize(double height) { m_size = height > 0.0 ? height : m_size; }
    double GetSize() const { return m_size; }
    // Where the next character starts (its lower left).
    void SetPos(double x, double y) { m_x = x; m_y = y; }
    double GetPosX() const { return m_x; }
    double GetPosY() const { return m_y; }

    // Emits the strokes of a UTF-8 text from the current position and moves the
    // position past it. Returns the number of characters written.
    virtual int String(const std::string& text) = 0;

protected:
    void Emit(const LN& stroke) const
    {
        if (m_lineProc != nullptr)
            m_lineProc(stroke);
    }

    LineProc m_lineProc = nullptr;
    double m_size = 1.0;
    double m_x = 0.0;
    double m_y = 0.0;
};
