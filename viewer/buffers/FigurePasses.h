#pragma once

struct RenderContext;

// Buffers and passes of the CAD figures (one buffer pair per CAD layer) and of
// the part drawing (a main and a second set).
class FigurePasses {
public:
    //! Display pass of the CAD figures into the bound figure layer; builds first.
    static void DrawCadFigures(RenderContext& ctx, unsigned char pass);
    static void BuildCadFigureSlot(RenderContext& ctx, int slot);
    static void ReleaseCadFigures(RenderContext& ctx);

    //! Display (1) and pick (4) passes of the part drawing into the bound part layer.
    static void DrawPartLayer(RenderContext& ctx, unsigned char pass);
    static void BuildPartLayer(RenderContext& ctx);
    static void ReleasePartLayer(RenderContext& ctx);

    //! Line width of a line width setting (1 -> 2 ... 4 -> 5, anything else 1).
    static float LineWidthOf(int setting);
};
