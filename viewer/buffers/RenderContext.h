#pragma once

#include "viewer/buffers/RenderSettings.h"
#include "viewer/render/GlFunctions.h"
#include "viewer/render/TextureFile.h"

#include <vector>

class CModelDataMng;
class RenderBook;
class skGLTexture;
struct FigureBuffers;
struct HostPolygonContent;
struct SelPCloud;

// Everything a builder or pass reads or writes in one frame, gathered by the
// view: GL entry points, the store (locked by the caller), the book, settings.
struct RenderContext {
    RenderContext(GlFunctions& gl_, CModelDataMng& store_, RenderBook& book_, RenderSettings& settings_)
        : gl(gl_), store(store_), book(book_), settings(settings_) {}

    GlFunctions& gl;
    CModelDataMng& store;
    RenderBook& book;
    RenderSettings& settings;
    FrameState frame;
    const std::vector<SelPCloud>* selection = nullptr;
    int pickedGroup = -1;
    int pickedPoint = -1;
    skGLTexture* texture = nullptr;
    TexturePlacement placement;
    //! Half the side of the vertex pick square, pixels.
    int vertexPickTolerance = 10;
    //! The CAD, part, host-overlay and structure buffers (null: those passes draw nothing).
    FigureBuffers* figures = nullptr;
    //! The host's overlay (points, segments, polygons), user coordinates; may be null.
    const HostPolygonContent* hostOverlay = nullptr;
};
