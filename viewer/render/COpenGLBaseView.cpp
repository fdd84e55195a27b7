#include "viewer/render/COpenGLBaseView.h"
#include "viewer/render/ViewConstants.h"
#include "platform/Log.h"

#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QTimerEvent>
#include <QSurfaceFormat>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <exception>

namespace {

// The frame re-tries a scene frame skipped because the view lock was held this often.
constexpr int kLockedFrameRetryMs = 50;


// Column-major 4 x 4 in doubles: projecting and un-projecting on the CPU keep the
// precision of the GLU functions they stand for.
using Matrix4d = std::array<double, 16>;

Matrix4d ToDouble(const QMatrix4x4& m)
{
    Matrix4d out{};
    for (int i = 0; i < 16; ++i) out[i] = m.constData()[i];
    return out;
}

Matrix4d Multiply(const Matrix4d& a, const Matrix4d& b)
{
    Matrix4d out{};
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
            out[col * 4 + row] = sum;
        }
    }
    return out;
}

std::array<double, 4> Transform(const Matrix4d& m, const std::array<double, 4>& v)
{
    std::array<double, 4> out{};
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    }
    return out;
}

// Gauss-Jordan with partial pivoting; false for a singular matrix.
bool Invert(const Matrix4d& m, Matrix4d& inverse)
{
    double a[4][8];
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            a[row][col] = m[col * 4 + row];
            a[row][col + 4] = row == col ? 1.0 : 0.0;
        }
    }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row) {
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
        }
        if (std::fabs(a[pivot][col]) < 1e-300) return false;
        if (pivot != col) std::swap(a[pivot], a[col]);
        const double scale = 1.0 / a[col][col];
        for (double& value : a[col]) value *= scale;
        for (int row = 0; row < 4; ++row) {
            if (row == col) continue;
            const double factor = a[row][col];
            for (int k = 0; k < 8; ++k) a[row][k] -= factor * a[col][k];
        }
    }
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) inverse[col * 4 + row] = a[row][col + 4];
    }
    return true;
}

}  // namespace

QSurfaceFormat COpenGLBaseView::SurfaceFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setAlphaBufferSize(8);
    return format;
}

void COpenGLBaseView::SetDefaultSurfaceFormat()
{
    QSurfaceFormat::setDefaultFormat(SurfaceFormat());
}

COpenGLBaseView::COpenGLBaseView(QWidget* parent) : QOpenGLWidget(parent)
{
    setFormat(SurfaceFormat());
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);

    m_lights[0].enabled = true;
    m_lights[0].diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    m_lights[0].specular = {0.2f, 0.2f, 0.2f, 1.0f};
}

COpenGLBaseView::~COpenGLBaseView()
{
    // The context outlives this part of the object: its aboutToBeDestroyed must not
    // reach a destroyed base view.
    disconnect(m_contextConnection);
    ReleaseGlResources();
}

// ---------------------------------------------------------------- context set-up

bool COpenGLBaseView::LoadGLExtensions()
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (context == nullptr || context->isOpenGLES()) return false;
    // Resolving through the context answers non-null even for functions the driver
    // lacks, so the version decides: 3.0 in the compatibility profile carries the
    // fixed-function pipeline, buffer objects, framebuffer objects and blits.
    const QSurfaceFormat format = context->format();
    if (format.version() < qMakePair(3, 0)) return false;
    if (format.profile() == QSurfaceFormat::CoreProfile) return false;
    m_gl = CurrentGlFunctions();
    return m_gl != nullptr;
}

void COpenGLBaseView::initializeGL()
{
    // initializeGL runs again when re-parenting gives the widget a new context; the
    // objects of the old one went with its aboutToBeDestroyed.
    disconnect(m_contextConnection);
    m_contextConnection = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
                                  [this] { ReleaseGlResources(); });
    m_glState = GlState::NotInitialised;
    m_gl = nullptr;
    if (!LoadGLExtensions()) {
        m_gl = nullptr;
        m_glState = GlState::Failed;
        const QSurfaceFormat got = context()->format();
        tessara::Log("view: OpenGL 3.0 (compatibility profile) is not available (context %d.%d, profile %d); "
                 "the view stays blank",
                 got.majorVersion(), got.minorVersion(), static_cast<int>(got.profile()));
        return;
    }
    m_glState = GlState::Ready;
    m_gl->glClearColor(m_backgroundColour.red() * kColourByteScale,
                       m_backgroundColour.green() * kColourByteScale,
                       m_backgroundColour.blue() * kColourByteScale, 1.0f);
    m_gl->glClearDepth(1.0);
    m_gl->glEnable(GL_DEPTH_TEST);
    m_gl->glDepthFunc(GL_LEQUAL);
}

void COpenGLBaseView::resizeGL(int, int)
{
    const qreal ratio = devicePixelRatioF();
    const int w = qRound(width() * ratio);
    const int h = qRound(height() * ratio);
    if (w <= 0 || h <= 0 || m_glState != GlState::Ready) return;
    m_clientWidth = w;
    m_clientHeight = h;
    AllocateLayers();
    UpdateProjection();
    UpdateModelView();
    m_sceneRequested = true;
}

bool COpenGLBaseView::AllocateLayers()
{
    ReleaseLayers();
    QOpenGLFramebufferObjectFormat layerFormat;
    layerFormat.setAttachment(QOpenGLFramebufferObject::Depth);
    layerFormat.setTextureTarget(GL_TEXTURE_2D);
    layerFormat.setInternalTextureFormat(GL_RGBA8);
    QOpenGLFramebufferObjectFormat cacheFormat;
    cacheFormat.setAttachment(QOpenGLFramebufferObject::NoAttachment);
    cacheFormat.setTextureTarget(GL_TEXTURE_2D);
    cacheFormat.setInternalTextureFormat(GL_RGBA8);
    const QSize size(m_clientWidth, m_clientHeight);
    bool complete = true;
    for (auto& layer : m_layers) {
        layer = std::make_unique<QOpenGLFramebufferObject>(size, layerFormat);
        complete = complete && layer->isValid();
    }
    m_compositeCache = std::make_unique<QOpenGLFramebufferObject>(size, cacheFormat);
    complete = complete && m_compositeCache->isValid();
    BindWindowFramebuffer();
    if (!complete) {
        // Tried again at the next resize only, never every frame.
        ReleaseLayers();
        tessara::Log("view: the off-screen layers of %d x %d could not be made complete; the view stays blank",
                 m_clientWidth, m_clientHeight);
        return false;
    }
    for (auto& layer : m_layers) {
        m_gl->glBindTexture(GL_TEXTURE_2D, layer->texture());
        m_gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        m_gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    m_gl->glBindTexture(GL_TEXTURE_2D, 0);
    m_layerMayHoldDrawing.fill(true);   // new textures hold undefined pixels
    m_cacheValid = false;
    return true;
}

void COpenGLBaseView::ReleaseLayers()
{
    for (auto& layer : m_layers) layer.reset();
    m_compositeCache.reset();
    m_cacheValid = false;
}

void COpenGLBaseView::ReleaseGlResources()
{
    if (m_releasingGl || context() == nullptr || m_glState == GlState::NotInitialised) return;
    m_releasingGl = true;
    StopRefinement();
    makeCurrent();
    if (m_glState == GlState::Ready) ReleaseViewGl();
    ReleaseLayers();
    doneCurrent();
    m_gl = nullptr;
    m_glState = GlState::NotInitialised;
    m_releasingGl = false;
}

void COpenGLBaseView::ReleaseViewGl() {}

// ---------------------------------------------------------------- layers

bool COpenGLBaseView::BindLayer(Layer layer)
{
    const auto& target = m_layers[static_cast<int>(layer)];
    if (!target) return false;
    // Whoever binds a layer may draw into it.
    m_layerMayHoldDrawing[static_cast<int>(layer)] = true;
    return target->bind();
}

void COpenGLBaseView::BindWindowFramebuffer()
{
    if (m_gl != nullptr) m_gl->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
}

unsigned COpenGLBaseView::LayerTexture(Layer layer) const
{
    const auto& target = m_layers[static_cast<int>(layer)];
    return target ? target->texture() : 0u;
}

void COpenGLBaseView::PrepareOffscreenTarget(Layer layer)
{
    const int index = static_cast<int>(layer);
    // A layer nobody bound since its last clear is clear still.
    if (!m_layers[index] || !m_layerMayHoldDrawing[index]) return;
    m_layers[index]->bind();
    SetBackgroundColor();
    m_gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    m_layerMayHoldDrawing[index] = false;
    BindWindowFramebuffer();
}

void COpenGLBaseView::DrawTextureFullscreen(unsigned texture)
{
    if (texture == 0 || m_gl == nullptr) return;
    GlFunctions& gl = *m_gl;
    gl.glBindTexture(GL_TEXTURE_2D, texture);
    gl.glViewport(0, 0, m_clientWidth, m_clientHeight);
    gl.glDisable(GL_LIGHTING);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    gl.glEnable(GL_TEXTURE_2D);
    gl.glColor3f(1.0f, 1.0f, 1.0f);
    gl.glBegin(GL_POLYGON);
    gl.glTexCoord2f(0.0f, 0.0f);
    gl.glVertex2f(0.0f, 0.0f);
    gl.glTexCoord2f(1.0f, 0.0f);
    gl.glVertex2f(1.0f, 0.0f);
    gl.glTexCoord2f(1.0f, 1.0f);
    gl.glVertex2f(1.0f, 1.0f);
    gl.glTexCoord2f(0.0f, 1.0f);
    gl.glVertex2f(0.0f, 1.0f);
    gl.glEnd();
    gl.glDisable(GL_TEXTURE_2D);
    gl.glBindTexture(GL_TEXTURE_2D, 0);
}

bool COpenGLBaseView::SetupLights()
{
    if (m_gl == nullptr) return true;
    for (int i = 0; i < 4; ++i) {
        const LightRecord& light = m_lights[i];
        const GLenum id = GL_LIGHT0 + i;
        if (!light.enabled) {
            m_gl->glDisable(id);
            continue;
        }
        m_gl->glEnable(id);
        m_gl->glLightfv(id, GL_POSITION, light.position.data());
        m_gl->glLightfv(id, GL_AMBIENT, light.ambient.data());
        m_gl->glLightfv(id, GL_DIFFUSE, light.diffuse.data());
        m_gl->glLightfv(id, GL_SPECULAR, light.specular.data());
        m_gl->glLightfv(id, GL_SPOT_DIRECTION, light.spotDirection.data());
        m_gl->glLightf(id, GL_SPOT_EXPONENT, light.spotExponent);
        m_gl->glLightf(id, GL_SPOT_CUTOFF, light.spotCutoff);
        m_gl->glLightf(id, GL_CONSTANT_ATTENUATION, light.constantAttenuation);
        m_gl->glLightf(id, GL_LINEAR_ATTENUATION, light.linearAttenuation);
        m_gl->glLightf(id, GL_QUADRATIC_ATTENUATION, light.quadraticAttenuation);
    }
    return true;
}

// ---------------------------------------------------------------- camera

void COpenGLBaseView::UpdateProjection()
{
    m_projection.setToIdentity();
    SetProjection();
}

void COpenGLBaseView::UpdateModelView()
{
    m_cameraView.setToIdentity();
    SetModelView();
}

QMatrix4x4 COpenGLBaseView::ModelViewMatrix() const
{
    return m_cameraView * m_modelMatrix;
}

void COpenGLBaseView::LoadCameraIntoGl()
{
    GlFunctions& gl = *m_gl;
    gl.glViewport(0, 0, m_clientWidth, m_clientHeight);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadMatrixf(m_projection.constData());
    gl.glMatrixMode(GL_MODELVIEW);
    // Lights are positioned in the eye space of the look-at camera.
    gl.glLoadMatrixf(m_cameraView.constData());
    SetupLights();
    gl.glMultMatrixf(m_modelMatrix.constData());
}

bool COpenGLBaseView::SetProjection()
{
    if (m_clientWidth <= 0 || m_clientHeight <= 0 || m_zoom <= 0.0f) return true;
    const float halfW = m_clientWidth / 2.0f / m_zoom;
    const float halfH = m_clientHeight / 2.0f / m_zoom;
    m_projection.ortho(-halfW, halfW, -halfH, halfH, 0.1f, 1000.0f);
    return true;
}

bool COpenGLBaseView::SetModelView()
{
    m_cameraView.lookAt(m_lookAt + QVector3D(0.0f, 0.0f, 500.0f), m_lookAt, QVector3D(0.0f, 1.0f, 0.0f));
    return true;
}

bool COpenGLBaseView::ProjectToWindow(const QVector3D& model, QVector3D& window) const
{
    const Matrix4d m = Multiply(ToDouble(m_projection), ToDouble(ModelViewMatrix()));
    const std::array<double, 4> clip = Transform(m, {model.x(), model.y(), model.z(), 1.0});
    if (clip[3] == 0.0 || !std::isfinite(clip[3])) return false;
    const double x = (clip[0] / clip[3] + 1.0) * 0.5 * m_clientWidth;
    const double y = (clip[1] / clip[3] + 1.0) * 0.5 * m_clientHeight;
    const double depth = (clip[2] / clip[3] + 1.0) * 0.5;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(depth)) return false;
    window = QVector3D(static_cast<float>(x), static_cast<float>(y), static_cast<float>(depth));
    return true;
}

bool COpenGLBaseView::UnprojectFromWindow(double x, double y, double depth, QVector3D& model) const
{
    if (m_clientWidth <= 0 || m_clientHeight <= 0) return false;
    Matrix4d inverse;
    if (!Invert(Multiply(ToDouble(m_projection), ToDouble(ModelViewMatrix())), inverse)) return false;
    const std::array<double, 4> result = Transform(
        inverse, {2.0 * x / m_clientWidth - 1.0, 2.0 * y / m_clientHeight - 1.0, 2.0 * depth - 1.0, 1.0});
    if (result[3] == 0.0 || !std::isfinite(result[3])) return false;
    const double mx = result[0] / result[3];
    const double my = result[1] / result[3];
    const double mz = result[2] / result[3];
    if (!std::isfinite(mx) || !std::isfinite(my) || !std::isfinite(mz)) return false;
    model = QVector3D(static_cast<float>(mx), static_cast<float>(my), static_cast<float>(mz));
    return true;
}

QVector3D COpenGLBaseView::TrackballVector(QPoint point) const
{
    const float w = static_cast<float>(std::max(m_clientWidth, 1));
    const float h = static_cast<float>(std::max(m_clientHeight, 1));
    const float x = (2.0f * point.x() - w) / w * 0.5f;
    const float y = (h - 2.0f * point.y()) / h * 0.5f;
    const float d = std::sqrt(x * x + y * y);
    const float z = std::cos(std::min(d, 1.0f) * static_cast<float>(M_PI) / 2.0f);
    return QVector3D(x, y, z).normalized();
}

void COpenGLBaseView::ApplyRotation(float angle, float ax, float ay, float az)
{
    const QVector3D axis(ax, ay, az);
    if (!std::isfinite(angle) || !std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(az)) return;
    // A pointer that did not move gives a zero axis; normalising it would put NaN
    // into the model matrix for good.
    if (axis.length() < 1e-6f) return;
    const auto toModel = [&axis](const QMatrix4x4& m) {
        const float* e = m.constData();
        return QVector3D(QVector3D::dotProduct(axis, QVector3D(e[0], e[1], e[2])),
                         QVector3D::dotProduct(axis, QVector3D(e[4], e[5], e[6])),
                         QVector3D::dotProduct(axis, QVector3D(e[8], e[9], e[10])));
    };
    const QVector3D modelAxis = toModel(m_modelMatrix);
    const QVector3D orientationAxis = toModel(m_orientationMatrix);
    if (modelAxis.length() >= 1e-6f) {
        m_modelMatrix.translate(m_rotationCentre);
        m_modelMatrix.rotate(angle, modelAxis);
        m_modelMatrix.translate(-m_rotationCentre);
    }
    if (orientationAxis.length() >= 1e-6f) m_orientationMatrix.rotate(angle, orientationAxis);
    UpdateModelView();
}

// ---------------------------------------------------------------- frames

void COpenGLBaseView::InvalidateScene()
{
    m_sceneRequested = true;
    update();
}

void COpenGLBaseView::DrawXorOverlay(int flag)
{
    m_pendingFeedbackFlag = flag;
    update();
}

void COpenGLBaseView::StopRefinement()
{
    if (m_refinementTimerId != 0) {
        killTimer(m_refinementTimerId);
        m_refinementTimerId = 0;
    }
    m_refinement.Cancel();
}

void COpenGLBaseView::paintGL()
{
    try {
        if (m_glState != GlState::Ready || !m_compositeCache) {
            // No GL, or no layers: a blank view.
            QOpenGLFunctions* f = context()->functions();
            f->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
            f->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            return;
        }
        std::unique_lock lock(m_viewMutex, std::try_to_lock);
        if (m_sceneRequested) {
            // Only a scene frame cancels refinement.
            StopRefinement();
            if (!lock) {
                // The worker holds the store: show the last picture and keep the request.
                PresentCache();
                QTimer::singleShot(kLockedFrameRetryMs, this, [this] { update(); });
                return;
            }
            m_sceneRequested = false;
            RenderSceneFrame();
        }
        PresentCache();
        if (lock) DrawFeedback(m_pendingFeedbackFlag);
        m_pendingFeedbackFlag = 0;
    } catch (const std::exception& e) {
        tessara::Log("view: a frame failed: %s", e.what());
    } catch (...) {
        tessara::Log("view: a frame failed");
    }
}

void COpenGLBaseView::RenderSceneFrame()
{
    GlFunctions& gl = *m_gl;
    RefreshGroupTree();
    UpdateLegends();
    ResetHoverPick();
    const std::int64_t startMs = m_frameClock->NowMs();
    const int levelBefore = m_detailLevel;

    static constexpr Layer kPrepareOrder[] = {Layer::Cloud, Layer::PointPick, Layer::Figure, Layer::Grid,
                                              Layer::Overlay, Layer::Part, Layer::HostPolygon, Layer::Tin};
    for (Layer layer : kPrepareOrder) PrepareOffscreenTarget(layer);
    gl.glDepthFunc(GL_LEQUAL);
    gl.glEnable(GL_DEPTH_TEST);
    // Settings may have changed the projection or the eye distance since the last frame.
    UpdateProjection();
    UpdateModelView();
    LoadCameraIntoGl();

    BindLayer(Layer::Grid);
    gl.glPushMatrix();
    DrawAxisAndGrid();
    gl.glPopMatrix();
    BindWindowFramebuffer();
    gl.glPushMatrix();
    RenderScene(kPassDisplay, 0);
    RenderScene(kPassPointPick, 0);
    gl.glPopMatrix();

    RenderOverlayLayer();
    BindWindowFramebuffer();
    CompositeIntoCache();

    AdaptDetailLevel(m_frameClock->NowMs() - startMs);
    ++m_sceneFrameCount;
    if (levelBefore > 0) {
        m_refinement.Start(levelBefore);
        m_refinementTimerId = startTimer(1, Qt::PreciseTimer);
    }
}

void COpenGLBaseView::RenderOverlayLayer()
{
    GlFunctions& gl = *m_gl;
    BindLayer(Layer::Overlay);
    const auto isolated = [&gl](auto&& draw) {
        gl.glPushMatrix();
        draw();
        gl.glPopMatrix();
    };
    isolated([this] { DrawScaleCaption(); });
    isolated([this] { DrawDistanceMeasure(); });
    isolated([this] { DrawDistanceFirstPoint(); });
    isolated([this] { DrawCoordinateMarker(); });
    isolated([this] { DrawSectionLine(); });
    isolated([this] { DrawSectionFirstPoint(); });
    isolated([this] { DrawPointMarker(); });

    // Axis triad and orientation cube: a fixed orthographic camera turned by the
    // orientation matrix alone.
    gl.glPushMatrix();
    gl.glMatrixMode(GL_PROJECTION);
    QMatrix4x4 ortho;
    ortho.ortho(-m_clientWidth / 2.0f, m_clientWidth / 2.0f, -m_clientHeight / 2.0f, m_clientHeight / 2.0f,
                0.1f, 10000.0f);
    gl.glLoadMatrixf(ortho.constData());
    gl.glMatrixMode(GL_MODELVIEW);
    QMatrix4x4 look;
    look.lookAt(QVector3D(0.0f, 0.0f, 500.0f), QVector3D(0.0f, 0.0f, 0.0f), QVector3D(0.0f, 1.0f, 0.0f));
    look *= m_orientationMatrix;
    gl.glLoadMatrixf(look.constData());
    DrawAxisTriad();
    DrawOrientationCube();
    gl.glPopMatrix();
    LoadCameraIntoGl();
}

void COpenGLBaseView::CompositeIntoCache()
{
    GlFunctions& gl = *m_gl;
    m_compositeCache->bind();
    gl.glViewport(0, 0, m_clientWidth, m_clientHeight);
    SetBackgroundColor();
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawBackgroundGradient();
    gl.glEnable(GL_ALPHA_TEST);
    gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.glEnable(GL_BLEND);
    static constexpr Layer kCompositeOrder[] = {Layer::Grid, Layer::Tin, Layer::Cloud, Layer::Figure,
                                                Layer::Part, Layer::HostPolygon, Layer::Overlay};
    for (Layer layer : kCompositeOrder) {
        // A clear layer is transparent: compositing it changes nothing.
        if (m_layerMayHoldDrawing[static_cast<int>(layer)]) DrawTextureFullscreen(LayerTexture(layer));
    }
    gl.glDisable(GL_ALPHA_TEST);
    gl.glDisable(GL_BLEND);
    // The layers clear with alpha 0; the window picture itself stays opaque.
    gl.glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    gl.glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT);
    gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    BindWindowFramebuffer();
    LoadCameraIntoGl();
    gl.glFinish();
    m_cacheValid = true;
}

void COpenGLBaseView::PresentCache()
{
    GlFunctions& gl = *m_gl;
    if (!m_cacheValid) {
        BindWindowFramebuffer();
        SetBackgroundColor();
        gl.glClearColor(m_backgroundColour.redF(), m_backgroundColour.greenF(), m_backgroundColour.blueF(), 1.0f);
        gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, m_compositeCache->handle());
    gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, defaultFramebufferObject());
    gl.glBlitFramebuffer(0, 0, m_clientWidth, m_clientHeight, 0, 0, m_clientWidth, m_clientHeight,
                         GL_COLOR_BUFFER_BIT, GL_NEAREST);
    BindWindowFramebuffer();
}

void COpenGLBaseView::DrawFeedback(int flag)
{
    using namespace toolmode;
    const bool feedbackMode = m_toolMode == kNone || m_toolMode == kTinVertexEdit || m_toolMode == kTinEdgeSwap ||
                              m_toolMode == kCadEdit || m_toolMode == kSection;
    if (!feedbackMode) return;
    GlFunctions& gl = *m_gl;
    BindWindowFramebuffer();
    LoadCameraIntoGl();
    gl.glPushAttrib(GL_ALL_ATTRIB_BITS);
    gl.glPushMatrix();
    gl.glEnable(GL_COLOR_LOGIC_OP);
    gl.glLogicOp(GL_XOR);
    // XOR on alpha would make the outline see-through in the window.
    gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    gl.glDepthFunc(GL_ALWAYS);
    DrawToolFeedback(flag);
    gl.glPopMatrix();
    gl.glPopAttrib();
    gl.glLogicOp(GL_COPY);
    gl.glDisable(GL_COLOR_LOGIC_OP);
    gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    m_xorOutline1.clear();
    m_xorOutline2.clear();
}

unsigned COpenGLBaseView::CompositeFramebuffer() const
{
    return m_cacheValid && m_compositeCache ? m_compositeCache->handle() : 0;
}

void COpenGLBaseView::SetFrameClock(std::shared_ptr<FrameClock> clock)
{
    m_frameClock = clock ? std::move(clock) : std::make_shared<SteadyFrameClock>();
}

void COpenGLBaseView::AdaptDetailLevel(std::int64_t frameMs)
{
    m_detailLevel = RefinementSchedule::NextDetailLevel(m_detailLevel, frameMs);
}

void COpenGLBaseView::RefineDraw()
{
    if (IsBusy() != 0) return;
    if (m_glState != GlState::Ready || !m_compositeCache) return;
    makeCurrent();
    const RefinementSchedule::Step step = m_refinement.Next();
    if (step.render) {
        ++m_refinementStepCount;
        GlFunctions& gl = *m_gl;
        LoadCameraIntoGl();
        gl.glPushMatrix();
        RenderScene(kPassDisplay, 0);
        RenderScene(kPassPointPick, 0);
        gl.glPopMatrix();
        BindWindowFramebuffer();
        gl.glFinish();
        if (step.present) {
            CompositeIntoCache();
            update();
        }
    }
    doneCurrent();
}

void COpenGLBaseView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_refinementTimerId) {
        QOpenGLWidget::timerEvent(event);
        return;
    }
    killTimer(m_refinementTimerId);
    m_refinementTimerId = 0;
    std::unique_lock lock(m_viewMutex, std::try_to_lock);
    if (!lock) {
        m_refinement.Cancel();
        return;
    }
    if (!m_refinement.ShouldContinue()) {
        m_refinement.Cancel();
        return;
    }
    RefineDraw();
    if (m_refinement.ShouldContinue()) {
        m_refinementTimerId = startTimer(1, Qt::PreciseTimer);
    } else {
        m_refinement.Cancel();
    }
}

// ---------------------------------------------------------------- hooks (base bodies)

void COpenGLBaseView::SetBackgroundColor() {}
void COpenGLBaseView::DrawBackgroundGradient() {}
void COpenGLBaseView::DrawAxisAndGrid() {}
void COpenGLBaseView::DrawPointMarker() {}
void COpenGLBaseView::ShowEditPrompt() {}
void COpenGLBaseView::DrawScaleCaption() {}
void COpenGLBaseView::DrawAxisTriad() {}
void COpenGLBaseView::DrawOrientationCube() {}
void COpenGLBaseView::DrawDistanceMeasure() {}
void COpenGLBaseView::DrawCoordinateMarker() {}
void COpenGLBaseView::DrawSectionLine() {}
int COpenGLBaseView::PickPoint(int, int, PT*) { return 0; }
int COpenGLBaseView::PickPointIndex(int, int) { return 0; }
int COpenGLBaseView::PickElevationToDialog(int, int) { return 0; }
int COpenGLBaseView::ClickSelect(int, int) { return 0; }
int COpenGLBaseView::AppendPickedPoint(int, int) { return 0; }
int COpenGLBaseView::AddInputPointByPick(int, int) { return 0; }
int COpenGLBaseView::PickMarkerPoint(int, int) { return 0; }
int COpenGLBaseView::ApplyTinEdit(int, int) { return 0; }
void COpenGLBaseView::RenderScene(std::uint8_t, int) {}
int COpenGLBaseView::SelectByScreenPolygon(const std::vector<QPoint>&, int) { return 0; }
void COpenGLBaseView::ClearPickBuckets() {}
void COpenGLBaseView::ClearSelection() {}
int COpenGLBaseView::ClearPickedList() { return 0; }
void COpenGLBaseView::SetEditMode(std::uint8_t mode) { m_editMode = mode; }
void COpenGLBaseView::BeginEditSelection() {}
void COpenGLBaseView::CancelRefinement() { m_refinement.Cancel(); }
void COpenGLBaseView::ResetDragState() {}
int COpenGLBaseView::IsBusy() { return 0; }
void COpenGLBaseView::ReservedHook32() {}
void COpenGLBaseView::OnPolylineFinished() {}
void COpenGLBaseView::ReservedHook34() {}
void COpenGLBaseView::ShowContextMenu(QPoint) {}
void COpenGLBaseView::ChooseCadEditColor() {}
void COpenGLBaseView::ChooseElementColor() {}
std::size_t COpenGLBaseView::GetSelectedElementCount() { return 0; }
short COpenGLBaseView::GetPointSizeIndex() { return 0; }
void COpenGLBaseView::RefreshGroupTree() {}
void COpenGLBaseView::InvalidateScaleCaption() {}
void COpenGLBaseView::ShowDistanceResult(std::size_t) {}
void COpenGLBaseView::DrawDistanceFirstPoint() {}
void COpenGLBaseView::ShowPointCoordinates(PT*) {}
void COpenGLBaseView::DrawCrossSection(std::size_t) {}
void COpenGLBaseView::DrawSectionFirstPoint() {}
void COpenGLBaseView::ResetHoverPick() {}
void COpenGLBaseView::InvalidateLegends() {}
void COpenGLBaseView::UpdateLegends() {}
void COpenGLBaseView::DrawToolFeedback(int) {}
void COpenGLBaseView::ReservedHook52() {}
void COpenGLBaseView::Undo() {}
void COpenGLBaseView::OnDeleteRange() {}
void COpenGLBaseView::DeleteSelection() {}
int COpenGLBaseView::DeleteAllData() { return 0; }
