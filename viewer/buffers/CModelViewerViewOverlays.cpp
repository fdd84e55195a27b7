// The orientation aids of the overlay layer: the axis triad near the top-right
// corner and the orientation cube with its compass plate near the bottom-left.
// Both turn with the scene but keep their place and size; the frame draws them
// with its overlay camera current.
#include "viewer/render/CModelViewerView.h"

#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewOverlayGl.h"
#include "viewer/render/OverlayGeometry.h"
#include "viewer/render/ShellHooks.h"

#include "outside/COGLJText.h"

#include <QMatrix4x4>

namespace {

constexpr float kAxisLength = 40.0f;
constexpr float kAxisRadius = 5.0f;
constexpr float kCubeHalf = 20.0f;
constexpr double kAnchorInset = 100.0;
constexpr int kLabelPixels = 14;
constexpr const char* kLabelFont = "Meiryo UI";
enum OverlayTexture { kFaceAtlas, kPlateAbove, kPlateBelow };
constexpr int kAtlasCells = 8;

// The camera the frame set for the overlays, and the same projection with an
// identity model view, in which the aids are drawn.
struct OverlayCameras {
    ScreenProjector camera;
    ScreenProjector eye;
};

OverlayCameras ReadCameras(GlFunctions& gl, int w, int h)
{
    QMatrix4x4 modelView, projection;
    gl.glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
    gl.glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    return {ScreenProjector(modelView, projection, {0, 0, w, h}), ScreenProjector(QMatrix4x4(), projection, {0, 0, w, h})};
}

void Vertex(GlFunctions& gl, const QVector3D& v) { gl.glVertex3f(v.x(), v.y(), v.z()); }

void DrawCylinder(GlFunctions& gl, const QVector3D& p, const QVector3D& q, float r)
{
    const std::optional<OverlayGeometry::Ring> ring = OverlayGeometry::CylinderRing(p, q, r);
    if (!ring) return;
    const QVector3D n = QVector3D::normal((*ring)[0], (*ring)[1], (*ring)[2]);
    gl.glBegin(GL_TRIANGLE_FAN);
    gl.glNormal3f(n.x(), n.y(), n.z());
    Vertex(gl, q);
    for (const QVector3D& o : *ring) Vertex(gl, q + o);
    gl.glEnd();
    gl.glBegin(GL_TRIANGLE_FAN);
    gl.glNormal3f(-n.x(), -n.y(), -n.z());
    Vertex(gl, p);
    for (const QVector3D& o : *ring) Vertex(gl, p + o);
    gl.glEnd();
    gl.glBegin(GL_QUAD_STRIP);
    for (const QVector3D& o : *ring) {
        const QVector3D side = o / r;
        gl.glNormal3f(side.x(), side.y(), side.z());
        Vertex(gl, p + o);
        Vertex(gl, q + o);
    }
    gl.glEnd();
}

void BindOverlayTexture(GlFunctions& gl, GLuint texture)
{
    gl.glEnable(GL_TEXTURE_2D);
    gl.glBindTexture(GL_TEXTURE_2D, texture);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

// Quad corners of the six faces (top, bottom, west, east, south, north), in
// atlas cell order.
constexpr int kFaces[6][4] = {{3, 2, 6, 7}, {1, 0, 4, 5}, {4, 0, 3, 7}, {1, 5, 6, 2}, {0, 1, 2, 3}, {5, 4, 7, 6}};

void DrawCubeFaces(GlFunctions& gl, GLuint atlas, const std::vector<QVector3D>& c)
{
    BindOverlayTexture(gl, atlas);
    gl.glColor3f(0.75f, 0.85f, 0.95f);
    gl.glBegin(GL_QUADS);
    for (int f = 0; f < 6; ++f) {
        const float u0 = static_cast<float>(f) / kAtlasCells, u1 = static_cast<float>(f + 1) / kAtlasCells;
        const float uv[4][2] = {{u0, 1}, {u1, 1}, {u1, 0}, {u0, 0}};
        for (int k = 0; k < 4; ++k) {
            gl.glTexCoord2f(uv[k][0], uv[k][1]);
            Vertex(gl, c[static_cast<std::size_t>(kFaces[f][k])]);
        }
    }
    gl.glEnd();
    gl.glDisable(GL_TEXTURE_2D);
    gl.glLineWidth(1.0f);
    gl.glColor3f(0.5f, 0.6f, 0.6f);
    for (int face : {0, 1}) {
        gl.glBegin(GL_LINE_LOOP);
        for (int k = 0; k < 4; ++k) Vertex(gl, c[static_cast<std::size_t>(kFaces[face][k])]);
        gl.glEnd();
    }
    gl.glBegin(GL_LINES);
    for (int k = 0; k < 4; ++k) {
        Vertex(gl, c[static_cast<std::size_t>(k)]);
        Vertex(gl, c[static_cast<std::size_t>(k + 4)]);
    }
    gl.glEnd();
}

// The plate from above (its own picture) and from below (the other), each
// culled when it faces away, so only the side towards the viewer shows.
void DrawBasePlate(GlFunctions& gl, const ViewOverlayGl& o, const std::array<QVector3D, 4>& plate)
{
    static constexpr float kUv[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (int side = 0; side < 2; ++side) {
        BindOverlayTexture(gl, o.textures[side == 0 ? kPlateAbove : kPlateBelow]);
        gl.glEnable(GL_BLEND);
        gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        gl.glEnable(GL_ALPHA_TEST);
        gl.glEnable(GL_CULL_FACE);
        gl.glCullFace(GL_BACK);
        const float grey = side == 0 ? 0.55f : 0.75f;
        gl.glColor3f(grey, grey, grey);
        gl.glBegin(GL_QUADS);
        for (int k = 0; k < 4; ++k) {
            const int at = side == 0 ? k : 3 - k;
            gl.glTexCoord2f(kUv[at][0], kUv[at][1]);
            Vertex(gl, plate[static_cast<std::size_t>(at)]);
        }
        gl.glEnd();
        gl.glDisable(GL_TEXTURE_2D);
        gl.glDisable(GL_BLEND);
        gl.glDisable(GL_ALPHA_TEST);
        gl.glDisable(GL_CULL_FACE);
    }
}

}  // namespace

void CModelViewerView::DrawAxisTriad()
{
    if (m_settings.xyzMark == 0 || !m_buffers || Gl() == nullptr || m_clientWidth <= 0 || m_clientHeight <= 0) return;
    GlFunctions& gl = *Gl();
    const OverlayCameras cams = ReadCameras(gl, m_clientWidth, m_clientHeight);
    const double px = m_clientWidth - kAnchorInset - ShellHooks::Instance().LegendColumnWidths();
    const double py = m_clientHeight - kAnchorInset;
    const auto placed = OverlayGeometry::Place(
        cams.camera, cams.eye, m_axisOrigin,
        {QVector3D(0, 0, 0), QVector3D(kAxisLength, 0, 0), QVector3D(0, kAxisLength, 0), QVector3D(0, 0, kAxisLength)},
        4, px, py);
    if (!placed) return;
    const QVector3D& c = (*placed)[0];
    static constexpr float kAxisColours[3][3] = {{0.8f, 0.16f, 0.16f}, {0.16f, 0.8f, 0.16f}, {0.16f, 0.16f, 0.8f}};
    static constexpr float kLabelColours[3][3] = {{1.0f, 0.3f, 0.3f}, {0.3f, 1.0f, 0.3f}, {0.3f, 0.3f, 1.0f}};
    static constexpr const char* kLabels[3] = {"X", "Y", "Z"};
    gl.glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT);
    gl.glPushMatrix();
    gl.glLoadIdentity();
    gl.glEnable(GL_LIGHTING);
    gl.glEnable(GL_NORMALIZE);
    gl.glEnable(GL_COLOR_MATERIAL);
    for (GLenum depth : {GL_ALWAYS, GL_LEQUAL}) {
        gl.glDepthFunc(depth);
        for (int a = 0; a < 3; ++a) {
            gl.glColor3fv(kAxisColours[a]);
            DrawCylinder(gl, c, (*placed)[static_cast<std::size_t>(a + 1)], kAxisRadius);
        }
    }
    gl.glDisable(GL_LIGHTING);
    gl.glDisable(GL_NORMALIZE);
    gl.glDisable(GL_COLOR_MATERIAL);
    ViewOverlayGl& o = *m_buffers->overlayGl;
    // The font is loaded once and kept for every frame.
    if (!o.labels) o.labels = std::make_unique<COGLJText>(kLabelFont, kLabelPixels, COGLJText::kOriginCentre);
    for (GLenum depth : {GL_ALWAYS, GL_LEQUAL}) {
        gl.glDepthFunc(depth);
        for (int a = 0; a < 3; ++a) {
            const QVector3D end = (*placed)[static_cast<std::size_t>(a + 1)];
            const QVector3D label = end + (end - c) * 0.05f;
            gl.glColor3fv(kLabelColours[a]);
            gl.glRasterPos3f(label.x(), label.y(), label.z());
            o.labels->Format("%s", kLabels[a]);
            o.labels->Render();
        }
    }
    gl.glPopMatrix();
    gl.glPopAttrib();
}

void CModelViewerView::DrawOrientationCube()
{
    if (m_settings.compassMark == 0 || !m_buffers || Gl() == nullptr || m_clientWidth <= 0 || m_clientHeight <= 0)
        return;
    GlFunctions& gl = *Gl();
    const OverlayCameras cams = ReadCameras(gl, m_clientWidth, m_clientHeight);
    std::vector<QVector3D> corners;
    for (const auto& c : {std::array<float, 3>{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}, {-1, 1, -1},
                          {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}})
        corners.emplace_back(c[0] * kCubeHalf, c[1] * kCubeHalf, c[2] * kCubeHalf);
    const auto placed = OverlayGeometry::Place(cams.camera, cams.eye, m_axisOrigin, corners, 4, kAnchorInset, kAnchorInset);
    if (!placed) return;
    const std::vector<QVector3D>& c = *placed;
    const std::array<QVector3D, 4> plate{2 * c[0] - c[5], 2 * c[1] - c[4], 2 * c[5] - c[0], 2 * c[4] - c[1]};

    ViewOverlayGl& o = *m_buffers->overlayGl;
    GLint previous = 0;
    gl.glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    if (!o.texturesUploaded) {
        // Uploaded once into textures of their own; the TIN's texture is never touched.
        gl.glGenTextures(3, o.textures.data());
        gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        const std::vector<std::uint8_t>* pictures[3] = {&m_overlayStrip, &m_overlaySquareA, &m_overlaySquareB};
        const int sizes[3][2] = {{1024, 128}, {384, 384}, {384, 384}};
        for (int t = 0; t < 3; ++t) {
            gl.glBindTexture(GL_TEXTURE_2D, o.textures[static_cast<std::size_t>(t)]);
            gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, sizes[t][0], sizes[t][1], 0, GL_RGBA, GL_UNSIGNED_BYTE,
                            pictures[t]->data());
        }
        o.texturesUploaded = true;
    }
    gl.glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT |
                    GL_TEXTURE_BIT | GL_POLYGON_BIT);
    gl.glPushMatrix();
    gl.glLoadIdentity();
    gl.glDisable(GL_LIGHTING);
    gl.glDepthFunc(GL_ALWAYS);
    DrawBasePlate(gl, o, plate);
    DrawCubeFaces(gl, o.textures[kFaceAtlas], c);
    gl.glDepthFunc(GL_LEQUAL);
    DrawCubeFaces(gl, o.textures[kFaceAtlas], c);
    DrawBasePlate(gl, o, plate);
    gl.glPopMatrix();
    gl.glPopAttrib();
    gl.glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
}
