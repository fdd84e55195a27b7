#pragma once

#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderSettings.h"
#include "viewer/render/TextureFile.h"

#include "outside/PT.h"
#include "outside/SelPCloud.h"

#include <cstdint>
#include <memory>
#include <vector>

class skGLTexture;

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
    TexturePlacement placement;
    //! Invalidations counted by the files concern that the book has taken in.
    int invalidationsTaken = 0;

    // Scale caption: recompute before the next drawing; the stored box may be drawn.
    int captionRecompute = 1;
    int captionValid = 0;
    PT captionMin;
    PT captionMax;
};
