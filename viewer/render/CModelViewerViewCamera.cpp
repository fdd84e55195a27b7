#include "viewer/render/CModelViewerView.h"
#include "viewer/render/ViewConstants.h"

#include <QOpenGLTexture>

#include <array>
#include <limits>
#include <vector>

#include "outside/CModelDataMng.h"
#include "outside/GeoFunc.h"
#include "viewer/files/ViewFilesState.h"

namespace {

constexpr float kAxisLength = 500.0f;
constexpr float kGridHalfSize = 500.0f;
constexpr float kGridPitch = 10.0f;
constexpr float kGridPlaneZ = -1.0f;

void UploadStatic(QOpenGLBuffer& buffer, const void* data, int bytes)
{
    buffer.destroy();
    buffer.create();
    buffer.setUsagePattern(QOpenGLBuffer::StaticDraw);
    buffer.bind();
    buffer.allocate(data, bytes);
    buffer.release();
}

}  // namespace

QColor CModelViewerView::BackgroundColourOf(short background)
{
    switch (background) {
    case 0:
        return QColor(10, 15, 20);
    case 1:
        return QColor(10, 54, 120);
    default:
        return QColor(255, 255, 255);
    }
}

double CModelViewerView::EyeDistance(short projection, float zoom)
{
    if (projection == 0) return 500.0;
    const double scale = zoom > 0.0f ? zoom / 0.9 : 1.0 / 0.9;
    switch (projection) {
    case 1:
        return 2300.0 / scale;
    case 2:
        return 1200.0 / scale;
    case 3:
        return 850.0 / scale;
    default:
        return 500.0 / scale;
    }
}

bool CModelViewerView::SetProjection()
{
    const float w = static_cast<float>(m_clientWidth);
    const float h = static_cast<float>(m_clientHeight);
    // No projection for an empty window: it would divide the box by zero.
    if (m_clientWidth <= 0 || m_clientHeight <= 0 || !(m_zoom > 0.0f)) return true;
    switch (m_settings.projection) {
    case 1:
    case 2:
    case 3: {
        const float k = 2.5e-5f * m_settings.projection;
        m_projection.frustum(-w * k, w * k, -h * k, h * k, 0.1f, 10000.0f);
        break;
    }
    default:
        m_projection.ortho(-w * 0.5f / m_zoom, w * 0.5f / m_zoom, -h * 0.5f / m_zoom, h * 0.5f / m_zoom, 0.1f,
                           10000.0f);
        break;
    }
    return true;
}

bool CModelViewerView::SetModelView()
{
    const float d = static_cast<float>(EyeDistance(m_settings.projection, m_zoom));
    m_cameraView.lookAt(m_lookAt + QVector3D(0.0f, 0.0f, d), m_lookAt, QVector3D(0.0f, 1.0f, 0.0f));
    return true;
}

void CModelViewerView::SetBackgroundColor()
{
    m_backgroundColour = BackgroundColourOf(m_settings.background);
    if (GlFunctions* gl = Gl()) {
        // Alpha 0: the empty pixels of every layer stay transparent in the composite.
        gl->glClearColor(m_backgroundColour.red() * kColourByteScale, m_backgroundColour.green() * kColourByteScale,
                         m_backgroundColour.blue() * kColourByteScale, 0.0f);
    }
}

CModelViewerView::BackgroundGradient CModelViewerView::BackgroundGradientOf(short background)
{
    switch (background) {
    case 0:
        return {{0.04f, 0.06f, 0.08f}, {0.44f, 0.46f, 0.48f}};
    case 1:
        return {{0.08f, 0.25f, 0.55f}, {0.6f, 0.8f, 0.9f}};
    default:
        return {{0.44f, 0.46f, 0.48f}, {1.0f, 1.0f, 1.0f}};
    }
}

void CModelViewerView::DrawBackgroundGradient()
{
    GlFunctions* gl = Gl();
    if (gl == nullptr || m_settings.backgroundGradient == 0) return;
    const BackgroundGradient colours = BackgroundGradientOf(m_settings.background);
    gl->glPushAttrib(GL_ENABLE_BIT);
    gl->glDisable(GL_LIGHTING);
    gl->glDisable(GL_TEXTURE_2D);
    gl->glDisable(GL_DEPTH_TEST);
    gl->glMatrixMode(GL_PROJECTION);
    gl->glLoadIdentity();
    gl->glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    gl->glMatrixMode(GL_MODELVIEW);
    gl->glLoadIdentity();
    gl->glBegin(GL_QUADS);
    gl->glColor3f(colours.bottom[0], colours.bottom[1], colours.bottom[2]);
    gl->glVertex2f(0.0f, 0.0f);
    gl->glVertex2f(1.0f, 0.0f);
    gl->glColor3f(colours.top[0], colours.top[1], colours.top[2]);
    gl->glVertex2f(1.0f, 1.0f);
    gl->glVertex2f(0.0f, 1.0f);
    gl->glEnd();
    gl->glPopAttrib();
}

// ---------------------------------------------------------------- axis, paper, grid

void CModelViewerView::BuildAxisBuffers()
{
    const QVector3D o = m_axisOrigin;
    const float l = kAxisLength;
    const std::array<QVector3D, 12> ends = {o, o + QVector3D(l, 0, 0), o, o + QVector3D(0, l, 0),
                                            o, o + QVector3D(0, 0, l), o, o - QVector3D(l, 0, 0),
                                            o, o - QVector3D(0, l, 0), o, o - QVector3D(0, 0, l)};
    std::array<float, 36> positions{};
    for (std::size_t i = 0; i < ends.size(); ++i) {
        positions[i * 3] = ends[i].x();
        positions[i * 3 + 1] = ends[i].y();
        positions[i * 3 + 2] = ends[i].z();
    }
    const std::array<std::array<float, 4>, 6> segmentColours = {{{0.8f, 0.16f, 0.16f, 1.0f},
                                                                 {0.16f, 0.8f, 0.16f, 1.0f},
                                                                 {0.16f, 0.16f, 0.8f, 1.0f},
                                                                 {0.32f, 0.32f, 0.32f, 1.0f},
                                                                 {0.32f, 0.32f, 0.32f, 1.0f},
                                                                 {0.32f, 0.32f, 0.32f, 1.0f}}};
    std::array<float, 48> colours{};
    for (std::size_t v = 0; v < 12; ++v) {
        for (std::size_t c = 0; c < 4; ++c) colours[v * 4 + c] = segmentColours[v / 2][c];
    }
    UploadStatic(m_axisVertices, positions.data(), static_cast<int>(sizeof(positions)));
    UploadStatic(m_axisColours, colours.data(), static_cast<int>(sizeof(colours)));
    m_axisBuilt = true;
    m_axisDirty = false;
}

void CModelViewerView::BuildPaperBuffer()
{
    m_paperBuffer.destroy();
    std::array<PT, 4> corners;
    if (m_files != nullptr && m_files->scene.frame.cornersSet != 0) {
        corners = m_files->scene.frame.corners;
    } else {
        double minX = std::numeric_limits<double>::max();
        double minY = minX;
        double maxX = -minX;
        double maxY = -minX;
        bool any = false;
        CModelDataMng& store = *m_modelStore;
        for (int i = 0; i < store.GetGroupCount(); ++i) {
            const CPCloudMng* group = store.GetGroup(i);
            if (group == nullptr) continue;
            if (group->GetCloudPointSize() > 0) {
                minX = std::min<double>(minX, group->GetPCloudMinX());
                minY = std::min<double>(minY, group->GetPCloudMinY());
                maxX = std::max<double>(maxX, group->GetPCloudMaxX());
                maxY = std::max<double>(maxY, group->GetPCloudMaxY());
                any = true;
            }
            if (group->GetVertexSize() > 0) {
                minX = std::min<double>(minX, group->GetVertexMinX());
                minY = std::min<double>(minY, group->GetVertexMinY());
                maxX = std::max<double>(maxX, group->GetVertexMaxX());
                maxY = std::max<double>(maxY, group->GetVertexMaxY());
                any = true;
            }
        }
        if (!any) return;
        corners = {PT(minX, minY, 1e-16), PT(minX, maxY, 1e-16), PT(maxX, maxY, 1e-16), PT(maxX, minY, 1e-16)};
    }
    for (PT& corner : corners) m_modelStore->UserToModel(corner);
    for (const PT& corner : corners) {
        if (!corner.IsFinite()) return;
    }
    if (IsZeroDst(corners[0], corners[2])) return;
    std::array<float, 24> vertices{};
    for (int i = 0; i < 4; ++i) {
        const PT& a = corners[i];
        const PT& b = corners[(i + 1) % 4];
        const float segment[6] = {static_cast<float>(a.x()), static_cast<float>(a.y()), 0.0f,
                                  static_cast<float>(b.x()), static_cast<float>(b.y()), 0.0f};
        std::copy_n(segment, 6, vertices.begin() + i * 6);
    }
    UploadStatic(m_paperBuffer, vertices.data(), static_cast<int>(sizeof(vertices)));
    m_paperBuilt = true;
}

void CModelViewerView::BuildGridBuffer()
{
    std::vector<float> vertices;
    vertices.reserve(400 * 3);
    const auto add = [&vertices](float x, float y) {
        vertices.insert(vertices.end(), {x, y, kGridPlaneZ});
    };
    for (float y = -kGridHalfSize; y < kGridHalfSize; y += kGridPitch) {
        add(-kGridHalfSize, y);
        add(kGridHalfSize, y);
    }
    for (float x = -kGridHalfSize; x < kGridHalfSize; x += kGridPitch) {
        add(x, -kGridHalfSize);
        add(x, kGridHalfSize);
    }
    UploadStatic(m_gridBuffer, vertices.data(), static_cast<int>(vertices.size() * sizeof(float)));
    m_gridBuilt = true;
}

void CModelViewerView::DrawAxisAndGrid()
{
    GlFunctions* gl = Gl();
    if (gl == nullptr) return;
    gl->glDisable(GL_LIGHTING);
    gl->glDisable(GL_TEXTURE_2D);

    if (m_axisDirty || !m_axisBuilt) BuildAxisBuffers();
    if (m_settings.axis != 0) {
        gl->glEnableClientState(GL_VERTEX_ARRAY);
        gl->glEnableClientState(GL_COLOR_ARRAY);
        m_axisVertices.bind();
        gl->glVertexPointer(3, GL_FLOAT, 0, nullptr);
        m_axisColours.bind();
        gl->glColorPointer(4, GL_FLOAT, 0, nullptr);
        gl->glLineWidth(1.0f);
        gl->glDrawArrays(GL_LINES, 0, 6);
        gl->glEnable(GL_LINE_STIPPLE);
        gl->glLineStipple(1, 0xF0F0);
        gl->glDrawArrays(GL_LINES, 6, 6);
        gl->glDisable(GL_LINE_STIPPLE);
        gl->glDisableClientState(GL_COLOR_ARRAY);
        gl->glDisableClientState(GL_VERTEX_ARRAY);
        m_axisColours.release();
    }

    if (!m_paperBuilt) BuildPaperBuffer();
    if (m_settings.paper != 0 && m_paperBuilt) {
        gl->glColor3f(0.512f, 0.512f, 0.512f);
        gl->glLineWidth(2.0f);
        gl->glEnableClientState(GL_VERTEX_ARRAY);
        m_paperBuffer.bind();
        gl->glVertexPointer(3, GL_FLOAT, 0, nullptr);
        gl->glDrawArrays(GL_LINES, 0, 8);
        gl->glDisableClientState(GL_VERTEX_ARRAY);
        m_paperBuffer.release();
    }

    if (!m_gridBuilt) BuildGridBuffer();
    if (m_settings.grid != 0 && m_gridBuilt) {
        const bool gradient = m_settings.backgroundGradient != 0;
        switch (m_settings.background) {
        case 0:
            gradient ? gl->glColor3f(0.4f, 0.4f, 0.4f) : gl->glColor3f(0.2f, 0.2f, 0.2f);
            break;
        case 1:
            gl->glColor3f(0.2f, 0.3f, 0.4f);
            m_backgroundColour = QColor(20, 64, 140);
            break;
        default:
            gradient ? gl->glColor3f(0.45f, 0.45f, 0.45f) : gl->glColor3f(0.8f, 0.8f, 0.8f);
            break;
        }
        gl->glLineWidth(1.0f);
        gl->glEnableClientState(GL_VERTEX_ARRAY);
        m_gridBuffer.bind();
        gl->glVertexPointer(3, GL_FLOAT, 0, nullptr);
        gl->glDrawArrays(GL_LINES, 0, 400);
        gl->glDisableClientState(GL_VERTEX_ARRAY);
        m_gridBuffer.release();
    }
}

void CModelViewerView::DrawPointMarker()
{
    GlFunctions* gl = Gl();
    if (gl == nullptr) return;
    const bool typeB = m_settings.mouseType != 0;
    if (m_dragMode != kDragRotate || !(m_moved || typeB)) return;
    if (!m_markerTexture) {
        // The sprite has a texture of its own, uploaded once.
        m_markerTexture = std::make_unique<QOpenGLTexture>(QOpenGLTexture::Target2D);
        m_markerTexture->setSize(64, 64);
        m_markerTexture->setFormat(QOpenGLTexture::RGBA8_UNorm);
        m_markerTexture->setMipLevels(m_markerTexture->maximumMipLevels());
        m_markerTexture->allocateStorage(QOpenGLTexture::RGBA, QOpenGLTexture::UInt8);
        m_markerTexture->setData(QOpenGLTexture::RGBA, QOpenGLTexture::UInt8, m_markerSprite.data());
        m_markerTexture->generateMipMaps();
        m_markerTexture->setMinMagFilters(QOpenGLTexture::LinearMipMapLinear, QOpenGLTexture::Linear);
        m_markerTexture->setWrapMode(QOpenGLTexture::ClampToEdge);
    }
    gl->glDepthFunc(GL_ALWAYS);
    m_markerTexture->bind();
    gl->glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    gl->glTexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, GL_TRUE);
    gl->glAlphaFunc(GL_GREATER, 0.5f);
    gl->glEnable(GL_DEPTH_TEST);
    gl->glDisable(GL_CULL_FACE);
    gl->glDisable(GL_LIGHTING);
    gl->glEnable(GL_TEXTURE_2D);
    gl->glEnable(GL_POINT_SPRITE);
    gl->glEnable(GL_ALPHA_TEST);
    gl->glEnable(GL_POINT_SMOOTH);
    gl->glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    gl->glEnable(GL_BLEND);
    gl->glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl->glColor3f(1.0f, 1.0f, 1.0f);
    gl->glPointSize(30.0f);
    gl->glBegin(GL_POINTS);
    gl->glVertex3f(m_rotationCentre.x(), m_rotationCentre.y(), m_rotationCentre.z());
    gl->glEnd();
    gl->glDisable(GL_ALPHA_TEST);
    gl->glDisable(GL_POINT_SPRITE);
    gl->glDisable(GL_TEXTURE_2D);
    gl->glDisable(GL_POINT_SMOOTH);
    gl->glDisable(GL_BLEND);
    m_markerTexture->release();
}

void CModelViewerView::ReleaseAxisGridGl()
{
    m_axisVertices.destroy();
    m_axisColours.destroy();
    m_paperBuffer.destroy();
    m_gridBuffer.destroy();
    m_markerTexture.reset();
    m_axisBuilt = false;
    m_paperBuilt = false;
    m_gridBuilt = false;
    m_axisDirty = true;
}
