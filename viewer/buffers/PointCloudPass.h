#pragma once

#include "outside/CPCloudMng.h"

#include <cstdint>

class GroupGpuData;
struct RenderContext;

// Point-cloud buffers of the groups and the view cloud (100 interleaved chunks
// each: positions, one RGBA8 colour of the colour mode built, pick colours),
// the selection index buffers, and the passes that draw them.
class PointCloudPass {
public:
    static void BuildGroupCloudPoints(RenderContext& ctx);
    static void BuildViewCloudPoints(RenderContext& ctx);
    static void BuildSelectionBuffers(RenderContext& ctx);
    //! Pass 1 display, 9 point pick; other codes only run pending releases.
    static void DrawGroupCloudPoints(RenderContext& ctx, unsigned char pass);
    static void DrawViewCloudPoints(RenderContext& ctx, unsigned char pass);

    static void ReleaseGroupCloudPointBuffers(RenderContext& ctx);
    static void ReleaseSelectionBuffers(RenderContext& ctx);
    static void ReleaseViewCloudPointBuffers(RenderContext& ctx);

    //! Point size in pixels for a size index and blend code, as the display draws it.
    static float PointSizePixels(int sizeIndex, std::uint16_t correctionHint);
    //! Folds a stored size index above 4 back into 0..4.
    static std::int16_t FoldPointSizeIndex(std::int16_t index);
    //! Asks the renderer once whether it takes host memory as buffer storage
    //! (RenderBook::hostStorage); every builder that can use it asks first.
    static void AskHostStorage(RenderContext& ctx);

private:
    struct Colouring;
    struct ColourRule;
    //! The display colour word of one point; context is a ColourRule.
    static std::uint32_t ColourWord(const void* context, const CPCloudMng::CloudPoint& point);
    static Colouring PrepareColouring(RenderContext& ctx, bool viewCloud);
    static bool BuildCloud(RenderContext& ctx, CPCloudMng& cloud, GroupGpuData& data, const Colouring& colouring);
    static void ReleaseCloud(RenderContext& ctx, GroupGpuData& data);
    static void DrawChunks(RenderContext& ctx, GroupGpuData& data, bool withColour, bool pickColours);
    static void SetDisplayPointSize(RenderContext& ctx, int sizeIndex);
    static void DrawPickedPoint(RenderContext& ctx);
};
