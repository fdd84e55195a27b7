#pragma once

#include "platform/OwnedMutex.h"

#include <mutex>

class SceneLayers;
struct RenderContext;

// RenderScene: draws every kind into its off-screen layer in a fixed order and
// with fixed depth modes, for the display (1), the pick re-render (4) and the
// point pick (9). The caller holds the view lock and has the context current.
class SceneRenderer {
public:
    //! Draws nothing (and asserts in debug builds) when the view lock is free:
    //! the caller must hold it.
    static void RenderScene(RenderContext& ctx, SceneLayers& layers, unsigned char pass,
                            const tessara::OwnedMutex& viewMutex);
    //! Deletes buffer names orphaned by groups that left the store, and frees
    //! the host memory of point buffers released and not built again; run at
    //! the start of a display frame.
    static void DeleteOrphanedBuffers(RenderContext& ctx);

private:
    static void RenderMain(RenderContext& ctx, SceneLayers& layers, unsigned char pass);
    static void RenderPointPick(RenderContext& ctx, SceneLayers& layers);
    static void DrawTinLayer(RenderContext& ctx, SceneLayers& layers, unsigned char pass);
    static void DrawFigureLayer(RenderContext& ctx, SceneLayers& layers, unsigned char pass);
};
