#include "SceneFixture.h"

#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/SceneRenderer.h"

#include <QOpenGLContext>

TestLayers::TestLayers(GlFunctions& gl, int width, int height) : m_gl(gl), m_width(width), m_height(height)
{
    for (int i = 0; i < kLayerCount; ++i) Prepare(static_cast<Layer>(i));
    prepared = 0;
}

TestLayers::~TestLayers()
{
    m_gl.glDeleteFramebuffers(kLayerCount, m_fbo.data());
    m_gl.glDeleteTextures(kLayerCount, m_colour.data());
    m_gl.glDeleteRenderbuffers(kLayerCount, m_depth.data());
}

void TestLayers::Bind(Layer layer)
{
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_fbo[layer]);
    m_gl.glViewport(0, 0, m_width, m_height);
}

void TestLayers::BindDefault() { m_gl.glBindFramebuffer(GL_FRAMEBUFFER, 0); }

void TestLayers::Prepare(Layer layer)
{
    ++prepared;
    if (m_fbo[layer] == 0) {
        m_gl.glGenTextures(1, &m_colour[layer]);
        m_gl.glGenRenderbuffers(1, &m_depth[layer]);
        m_gl.glGenFramebuffers(1, &m_fbo[layer]);
    }
    m_gl.glBindTexture(GL_TEXTURE_2D, m_colour[layer]);
    m_gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    m_gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, m_width, m_height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    m_gl.glBindTexture(GL_TEXTURE_2D, 0);
    m_gl.glBindRenderbuffer(GL_RENDERBUFFER, m_depth[layer]);
    m_gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, m_width, m_height);
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_fbo[layer]);
    m_gl.glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_colour[layer], 0);
    m_gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depth[layer]);
    m_gl.glClearColor(0, 0, 0, 0);
    m_gl.glClearDepth(1.0);
    m_gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void TestLayers::ClearAll()
{
    for (int i = 0; i < kLayerCount; ++i) Prepare(static_cast<Layer>(i));
}

std::uint32_t TestLayers::Pixel(Layer layer, int x, int y)
{
    std::uint32_t rgba = 0;
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_fbo[layer]);
    m_gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    m_gl.glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &rgba);
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return rgba;
}

float TestLayers::Depth(Layer layer, int x, int y)
{
    float depth = 0;
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_fbo[layer]);
    m_gl.glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return depth;
}

void SceneTest::SetUp()
{
    tessara::GlTest::SetUp();
    m_glf = CurrentGlFunctions();
    ASSERT_NE(m_glf, nullptr);
    m_store = std::make_unique<CModelDataMng>();
    m_settings.gradation = &m_stops;
    m_settings.colourMode = 1;
    m_settings.tinPictureMode = 1;
    m_settings.viewDepthAlways = 1;
    m_ctx = std::make_unique<RenderContext>(*m_glf, *m_store, m_book, m_settings);
    m_ctx->selection = &m_selection;
    m_layers = std::make_unique<TestLayers>(*m_glf, kSize, kSize);
    m_glf->glMatrixMode(GL_PROJECTION);
    m_glf->glLoadIdentity();
    m_glf->glOrtho(0, kSize, 0, kSize, -1000, 1000);
    m_glf->glMatrixMode(GL_MODELVIEW);
    m_glf->glLoadIdentity();
    m_glf->glEnable(GL_DEPTH_TEST);
}

void SceneTest::TearDown()
{
    m_layers.reset();
    m_ctx.reset();
    m_store.reset();
    tessara::GlTest::TearDown();
}

CPCloudMng& SceneTest::AddGroup(const std::vector<std::array<float, 3>>& points, COLORREF colour)
{
    auto group = std::make_unique<CPCloudMng>();
    for (const auto& p : points) group->AddCloudPoint(p[0], p[1], p[2], colour, 0.0);
    group->m_nDataFlag = points.empty() ? 0 : 1;
    group->m_nColor = colour;
    CPCloudMng& ref = *group;
    m_store->AddGroup(std::move(group));
    return ref;
}

void SceneTest::SetTin(CVertexMng& tin, const std::vector<std::array<float, 3>>& vertices,
                       const std::vector<std::array<std::uint32_t, 3>>& triangles)
{
    for (const auto& v : vertices) tin.AddVertex(v[0], v[1], v[2]);
    for (const auto& t : triangles) tin.m_triangles.emplace_back(t[0], t[1], t[2]);
    tin.CreateGrid();
}

void SceneTest::Render(unsigned char pass)
{
    std::lock_guard lock(m_viewMutex);
    SceneRenderer::DeleteOrphanedBuffers(*m_ctx);
    SceneRenderer::RenderScene(*m_ctx, *m_layers, pass, m_viewMutex);
}

int SceneTest::LiveBuffers(GLuint limit)
{
    // Names only grow: a fresh one bounds every name handed out so far.
    GLuint probe = 0;
    m_glf->glGenBuffers(1, &probe);
    m_glf->glDeleteBuffers(1, &probe);
    limit = std::max(limit, probe);
    int live = 0;
    for (GLuint name = 1; name <= limit; ++name)
        if (m_glf->glIsBuffer(name) == GL_TRUE) ++live;
    return live;
}

SceneTest::ChunkBuffers SceneTest::ReadChunk(const GroupGpuData& data, int c, std::size_t count, bool withColours)
{
    ChunkBuffers b;
    b.positions.resize(count * 3);
    b.picks.resize(count);
    b.colours.resize(count);
    G().glBindBuffer(GL_ARRAY_BUFFER, data.positionBuffers[c]);
    G().glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(count * 12), b.positions.data());
    G().glBindBuffer(GL_ARRAY_BUFFER, data.pickColourBuffers[c]);
    G().glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(count * 4), b.picks.data());
    if (withColours) {
        G().glBindBuffer(GL_ARRAY_BUFFER, data.colourBuffers[c]);
        G().glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(count * 4), b.colours.data());
    }
    return b;
}
