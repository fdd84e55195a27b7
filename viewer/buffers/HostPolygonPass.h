#pragma once

struct RenderContext;

// Buffers and the display pass of the host's overlay: its points, then its
// segments and polygon edges as line pairs, drawn over the whole scene.
class HostPolygonPass {
public:
    static void Draw(RenderContext& ctx, unsigned char pass);
    static void Build(RenderContext& ctx);
    static void Release(RenderContext& ctx);
};
