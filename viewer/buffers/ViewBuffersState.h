#pragma once

#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderSettings.h"
#include "viewer/files/HostPolygonFile.h"
#include "viewer/render/TextureFile.h"

#include "outside/PT.h"
#include "outside/SelPCloud.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class skGLTexture;
struct ViewPickState;
struct ViewOverlayGl;
struct FigureBuffers;
class PickLayerSet;

// What the main view keeps for its buffers and render passes.
struct ViewBuffersState {
    ViewBuffersState();
    ~ViewBuffersState();

    RenderBook book;
    //! The settings of the last frame, as the passes read them.
    RenderSettings settings;
    //! The point selection, one bucket per group (UI thread only).
    std::vector<SelPCloud> pickBuckets;
    //! Indices of the selected CAD elements (UI thread only).
    std::vector<std::int64_t> selectedCadElements;
    std::unique_ptr<skGLTexture> texture;
    //! Requests to rebuild every buffer, from any thread (loads on the pipe worker),
    //! and how many of them the book has taken in (UI thread).
    std::atomic<int> allBuffersInvalidated{0};
    int invalidationsTaken = 0;
    //! Requests to rebuild the screen-space pick cache, from any thread.
    std::atomic<int> pickCacheRequested{0};
    //! Requests to colour every group's points again (commands and dialogs on the
    //! UI thread, without the lock); the next frame applies them under the lock.
    std::atomic<int> recolourRequested{0};

    // Scale caption: recompute before the next drawing; the stored box may be drawn.
    int captionRecompute = 1;
    int captionValid = 0;
    PT captionMin;
    PT captionMax;

    //! The host's overlay as installed (user coordinates; written under the view
    //! lock), and the count of installs and clears, from any thread: each asks for
    //! its buffers to be rebuilt.
    HostPolygonContent hostOverlay;
    std::atomic<int> hostOverlayChanges{0};
    int hostOverlayChangesTaken = 0;
    //! CAD, part, host-overlay and structure buffers.
    std::unique_ptr<FigureBuffers> figures;

    //! Selection, hover and tool feedback state (viewer/buffers/ViewPickState.h).
    std::unique_ptr<ViewPickState> pick;
    //! The overlays' own GL objects: textures and the feedback's buffers.
    std::unique_ptr<ViewOverlayGl> overlayGl;
    //! The framebuffers a pick re-render draws into, apart from the picture's
    //! layers; made by the first pick re-render.
    std::unique_ptr<PickLayerSet> pickLayers;
};
