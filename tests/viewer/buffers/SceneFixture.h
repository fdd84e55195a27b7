#pragma once

#include "platform/OwnedMutex.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderContext.h"
#include "viewer/buffers/SceneLayers.h"

#include "outside/CGradationSetting.h"
#include "outside/CModelDataMng.h"
#include "outside/SelPCloud.h"

#include "platform/gltest/GlTest.h"

#include <array>
#include <memory>
#include <mutex>
#include <vector>

class GroupGpuData;

// Eight RGBA8 + depth24 framebuffers of one size, standing in for the base
// view's layers.
class TestLayers : public SceneLayers {
public:
    TestLayers(GlFunctions& gl, int width, int height);
    ~TestLayers() override;

    void Bind(Layer layer) override;
    void BindDefault() override;
    void Prepare(Layer layer) override;
    GLuint Framebuffer(Layer layer) const override { return m_fbo[layer]; }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }

    //! RGBA bytes of one pixel of a layer, R in the low byte.
    std::uint32_t Pixel(Layer layer, int x, int y);
    //! Depth of one pixel of a layer.
    float Depth(Layer layer, int x, int y);
    void ClearAll();
    int prepared = 0;

private:
    GlFunctions& m_gl;
    int m_width;
    int m_height;
    std::array<GLuint, kLayerCount> m_fbo{};
    std::array<GLuint, kLayerCount> m_colour{};
    std::array<GLuint, kLayerCount> m_depth{};
};

// A GL context, a store, the book and settings, and layers of 64 x 64 pixels
// with a camera that puts model (x, y) on pixel (x, y).
class SceneTest : public tessara::GlTest {
protected:
    static constexpr int kSize = 64;

    void SetUp() override;
    void TearDown() override;

    RenderContext& Ctx() { return *m_ctx; }
    GlFunctions& G() { return *m_glf; }
    //! Adds a group of points (user coordinates) with the data flag set.
    CPCloudMng& AddGroup(const std::vector<std::array<float, 3>>& points, COLORREF colour = 0x00FF00);
    //! Adds a TIN of triangles over the given vertices to a store.
    static void SetTin(CVertexMng& tin, const std::vector<std::array<float, 3>>& vertices,
                       const std::vector<std::array<std::uint32_t, 3>>& triangles);
    void Render(unsigned char pass);
    //! Names in 1..limit that GL knows as buffers.
    int LiveBuffers(GLuint limit = 0);
    //! The point buffers of one chunk of a group, read back from GL.
    struct ChunkBuffers {
        std::vector<float> positions;  // x, y, z a point
        std::vector<std::uint32_t> picks;
        std::vector<std::uint32_t> colours;
    };
    //! Reads the `count` points of chunk c; the colours stay zero unless asked for.
    //! Leaves the last buffer read bound to GL_ARRAY_BUFFER.
    ChunkBuffers ReadChunk(const GroupGpuData& data, int c, std::size_t count, bool withColours = true);

    GlFunctions* m_glf = nullptr;
    std::unique_ptr<CModelDataMng> m_store;
    RenderBook m_book;
    RenderSettings m_settings;
    std::vector<ColorConf> m_stops{{255, 0x0000FF}, {0, 0xFF0000}};
    std::vector<SelPCloud> m_selection;
    std::unique_ptr<RenderContext> m_ctx;
    std::unique_ptr<TestLayers> m_layers;
    tessara::OwnedMutex m_viewMutex;
};
