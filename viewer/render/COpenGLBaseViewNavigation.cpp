#include "viewer/render/COpenGLBaseView.h"
#include "viewer/render/ViewConstants.h"
#include "platform/Log.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <limits>

namespace {

constexpr int kDragThresholdPx = 5;
constexpr float kMinZoom = 0.1f;
constexpr float kMaxZoom = 100000.0f;
constexpr double kZoomPerPixel = 0.002;   // a 500-pixel upward drag doubles the zoom
constexpr float kUnset = 1e-16f;

bool BeyondThreshold(QPoint a, QPoint b)
{
    const double dx = a.x() - b.x();
    const double dy = a.y() - b.y();
    return std::sqrt(dx * dx + dy * dy) > kDragThresholdPx;
}

template <typename Fn>
void Guarded(const char* what, Fn&& fn)
{
    try {
        fn();
    } catch (const std::exception& e) {
        tessara::Log("view: %s failed: %s", what, e.what());
    } catch (...) {
        tessara::Log("view: %s failed", what);
    }
}

}  // namespace

int COpenGLBaseView::MouseDragTypeSetting() const
{
    return m_mouseDragType == nullptr ? 0 : *m_mouseDragType;
}

int COpenGLBaseView::PerspectiveSetting() const
{
    return m_perspectiveMode == nullptr ? 0 : *m_perspectiveMode;
}

QPoint COpenGLBaseView::DevicePoint(const QPointF& logical) const
{
    const qreal ratio = devicePixelRatioF();
    return QPoint(static_cast<int>(std::floor(logical.x() * ratio)), static_cast<int>(std::floor(logical.y() * ratio)));
}

// ---------------------------------------------------------------- drags

void COpenGLBaseView::BeginDrag(QPoint point, std::uint8_t mode)
{
    if (!m_menuOpen) m_dragMode = mode;
    if (m_dragMode == kDragRotate) {
        m_moved = false;
        m_rotationStarted = false;
        m_pressPoint = point;
        m_trackball = TrackballVector(point);
    } else {
        m_previousPoint = point;
    }
}

void COpenGLBaseView::ReprojectInputPoints()
{
    m_inputScreenPoints.clear();
    for (const PT& p : m_inputModelPoints) {
        QVector3D window;
        if (!ProjectToWindow(QVector3D(static_cast<float>(p.x()), static_cast<float>(p.y()), static_cast<float>(p.z())),
                             window)) {
            continue;
        }
        m_inputScreenPoints.emplace_back(static_cast<int>(window.x()), static_cast<int>(m_clientHeight - window.y()));
    }
}

void COpenGLBaseView::DragStep(QPoint p)
{
    const int s = MouseDragTypeSetting();
    const bool blocked = m_editMode == 0 && m_leftPressPending;
    bool stepped = false;
    if (blocked) {
        m_firstRotationStep = false;
    } else if (m_dragMode == kDragZoom) {
        m_cameraMoved = 1;
        const double f = std::pow(2.0, (m_previousPoint.y() - p.y()) * kZoomPerPixel);
        const double next = m_zoom * f;
        if (next >= kMinZoom && next <= kMaxZoom) m_zoom = static_cast<float>(next);
        const int perspective = PerspectiveSetting();
        if (perspective >= 1 && perspective <= 3) {
            static constexpr float kTargetDivisor[] = {8000.0f, 6000.0f, 4000.0f};
            const float step = m_zoom / kTargetDivisor[perspective - 1];
            m_lookAt.setZ(m_previousPoint.y() - p.y() > 0 ? m_lookAt.z() - step : m_lookAt.z() + step);
            UpdateModelView();
        }
        m_previousPoint = p;
        UpdateProjection();
        stepped = true;
    } else if (m_dragMode == kDragPan) {
        if (s == 1 && !m_moved) {
            if (BeyondThreshold(p, m_previousPoint)) m_moved = true;
        } else {
            m_cameraMoved = 1;
            const float q = PerspectiveSetting() != 0 ? std::min(500.0f, m_zoom) : m_zoom;
            m_lookAt.setX(m_lookAt.x() - (p.x() - m_previousPoint.x()) / q);
            m_lookAt.setY(m_lookAt.y() + (p.y() - m_previousPoint.y()) / q);
            m_previousPoint = p;
            UpdateModelView();
            stepped = true;
        }
    } else if (m_dragMode == kDragRotate) {
        bool rotate = true;
        if (s == 0) {
            if (!m_moved && BeyondThreshold(p, m_pressPoint)) {
                m_moved = true;
                m_firstRotationStep = true;
            }
        } else if (!m_rotationStarted) {
            rotate = false;
            if (BeyondThreshold(p, m_pressPoint)) {
                m_rotationStarted = true;
                m_firstRotationStep = true;
            }
        }
        if (rotate) {
            if (m_firstRotationStep) {
                PickMarkerPoint(m_pressPoint.x(), m_pressPoint.y());
                m_firstRotationStep = false;
            }
            const QVector3D v = TrackballVector(p);
            const float angle = (v - m_trackball).length() * 180.0f;
            const QVector3D axis = QVector3D::crossProduct(m_trackball, v);
            m_trackball = v;
            ApplyRotation(angle, axis.x(), axis.y(), axis.z());
            stepped = true;
        }
    }
    if (stepped) {
        const bool reproject = m_dragMode == kDragRotate || (m_editMode == 1 && m_editPolygonActive != 0);
        if (reproject && !m_inputModelPoints.empty()) ReprojectInputPoints();
        InvalidateScene();
    }

    // Common tail, also for plain moves.
    m_rubberBand.clear();
    if (m_leftPressPending) {
        if (!m_boxStarted) {
            if (BeyondThreshold(p, m_pressPoint)) m_boxStarted = true;
        } else if (m_editMode == 0) {
            const int cx = std::clamp(p.x(), 1, std::max(1, m_clientWidth));
            const int cy = std::clamp(p.y(), 1, std::max(1, m_clientHeight));
            QVector3D anchor;
            if (ProjectToWindow(QVector3D(static_cast<float>(m_pressAnchor[0]), static_cast<float>(m_pressAnchor[1]),
                                          static_cast<float>(m_pressAnchor[2])),
                                anchor)) {
                const int ax = static_cast<int>(anchor.x());
                const int ay = static_cast<int>(m_clientHeight - anchor.y());
                m_rubberBand = {QPoint(ax, ay), QPoint(ax, cy), QPoint(cx, cy), QPoint(cx, ay)};
                m_rubberBandPresent = 1;
            }
        }
    }
    if (m_editMode == 1 && m_editPolygonActive != 0 && !m_inputScreenPoints.empty()) {
        m_rubberBand = m_inputScreenPoints;
        m_rubberBand.push_back(p);
        m_rubberBandPresent = 1;
    }
    m_lastPointer = p;
    DrawXorOverlay(0);
}

void COpenGLBaseView::EndDrag()
{
    m_dragMode = kDragNone;
    m_moved = false;
    m_rotationStarted = false;
    InvalidateScene();
}

// ---------------------------------------------------------------- left button

void COpenGLBaseView::BeginPick(QPoint point)
{
    m_pressPoint = point;
    QVector3D anchor;
    if (UnprojectFromWindow(point.x(), m_clientHeight - point.y(), 0.0, anchor)) {
        m_pressAnchor = {anchor.x(), anchor.y(), anchor.z()};
    } else {
        m_pressAnchor = {kUnset, kUnset, kUnset};
    }
    m_leftPressPending = true;
    m_boxStarted = false;
    switch (m_toolMode) {
    case 1:
    case 2:
    case 3:
        m_inputScreenPoints.clear();
        m_inputModelPoints.clear();
        break;
    case 16:
    case 17: {
        int& active = m_toolMode == toolmode::kDistance ? m_distanceToolActive : m_readoutToolActive;
        if (active == 0) {
            m_measurePoints.clear();
            m_inputScreenPoints.clear();
            m_inputModelPoints.clear();
            active = 1;
        }
        break;
    }
    case 18:
        if (m_sectionToolActive == 0) {
            m_sectionPoints.clear();
            m_inputScreenPoints.clear();
            m_inputModelPoints.clear();
            m_sectionToolActive = 1;
        }
        break;
    default:
        if (m_editMode == 0) {
            m_inputScreenPoints.clear();
            m_inputModelPoints.clear();
        } else if (m_editMode == 1 && m_editPolygonActive == 0) {
            m_inputScreenPoints.clear();
            m_inputModelPoints.clear();
            BeginEditSelection();
        }
        // In point-cloud edit mode every press sets a corner of the selection
        // polygon; it keeps its place in the model while the camera moves.
        if (m_editMode == 1 && m_editPolygonActive != 0 && m_pressAnchor[0] != kUnset) {
            m_inputModelPoints.emplace_back(m_pressAnchor[0], m_pressAnchor[1], m_pressAnchor[2]);
            m_inputScreenPoints.push_back(point);
        }
        break;
    }
}

void COpenGLBaseView::EraseSelectionBox()
{
    m_rubberBand.clear();
    m_xorOutline1.clear();
    DrawXorOverlay(1);
}

int COpenGLBaseView::EndPick()
{
    if (!m_leftPressPending) return 0;
    int result = 0;
    const bool inside = m_pressPoint.x() >= 1 && m_pressPoint.x() <= m_clientWidth && m_pressPoint.y() >= 1 &&
                        m_pressPoint.y() <= m_clientHeight;
    const auto pick = [this](PT& out) {
        out.Set(kUnset, kUnset, kUnset);
        return PickPoint(m_pressPoint.x(), m_pressPoint.y(), &out) >= 1;
    };
    if (m_toolMode == toolmode::kDistance) {
        PT out;
        if (m_distanceToolActive != 0 && inside && pick(out)) {
            m_measurePoints.push_back(out);
            if (m_measurePoints.size() >= 2) ShowDistanceResult(m_measurePoints.size());
            result = 1;
        }
    } else if (m_toolMode == toolmode::kReadout) {
        PT out;
        if (m_readoutToolActive != 0 && inside && pick(out)) {
            ShowPointCoordinates(&out);
            result = 1;
        }
    } else if (m_toolMode == toolmode::kSection) {
        PT out;
        if (m_sectionToolActive != 0 && inside && pick(out)) {
            m_sectionPoints.push_back(out);
            if (m_sectionPoints.size() >= 2) DrawCrossSection(m_sectionPoints.size());
            result = 1;
        }
    } else if (m_toolMode == toolmode::kTinVertexEdit || m_toolMode == toolmode::kTinEdgeSwap ||
               m_toolMode == toolmode::kTinFaceDelete) {
        if (inside) result = ApplyTinEdit(m_pressPoint.x(), m_pressPoint.y());
    } else if (m_editMode == 0) {
        m_rubberBandPresent = 0;
        if (m_boxStarted) {
            EraseSelectionBox();
            result = 1;
        }
    }
    InvalidateScene();
    m_boxCancelled = 0;
    m_leftPressPending = false;
    m_boxStarted = false;
    return result;
}

void COpenGLBaseView::OnDoubleClick(QPoint point)
{
    const bool inside = point.x() >= 1 && point.x() <= m_clientWidth && point.y() >= 1 && point.y() <= m_clientHeight;
    if (inside && !m_clickAfterMenu && m_editMode == 1 && m_editPolygonActive != 0 && m_inputModelPoints.size() > 1) {
        m_rubberBandPresent = 0;
        m_inputModelPoints.pop_back();
        m_leftPressPending = false;
        m_boxStarted = false;
        SelectByScreenPolygon(m_inputScreenPoints, 0);
        InvalidateScene();
        ResetDragState();
    }
    m_clickAfterMenu = false;
}

void COpenGLBaseView::OnRightButtonRelease(QPoint point)
{
    const bool moved = m_moved;
    EndDrag();
    if (moved) return;
    if (m_editMode == 0 && m_leftPressPending) {
        m_leftPressPending = false;
        m_rubberBandPresent = 0;
        m_editPolygonActive = 0;
        EraseSelectionBox();
    }
    ShowContextMenu(point);
}

// ---------------------------------------------------------------- Qt events

void COpenGLBaseView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = DevicePoint(event->position());
    const int s = MouseDragTypeSetting();
    Guarded("a button press", [&] {
        switch (event->button()) {
        case Qt::LeftButton:
            if (m_menuOpen) {
                m_clickAfterMenu = true;
            } else {
                m_clickAfterMenu = false;
                BeginPick(p);
            }
            m_menuOpen = false;
            break;
        case Qt::MiddleButton:
            BeginDrag(p, s == 0 ? kDragPan : kDragRotate);
            break;
        case Qt::RightButton:
            BeginDrag(p, s == 0 ? kDragRotate : kDragPan);
            m_menuOpen = false;
            break;
        default:
            break;
        }
    });
    event->accept();
}

void COpenGLBaseView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = DevicePoint(event->position());
    Guarded("a button release", [&] {
        switch (event->button()) {
        case Qt::LeftButton:
            EndPick();
            break;
        case Qt::MiddleButton:
            EndDrag();
            break;
        case Qt::RightButton:
            OnRightButtonRelease(p);
            break;
        default:
            break;
        }
    });
    event->accept();
}

void COpenGLBaseView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint p = DevicePoint(event->position());
        Guarded("a double click", [&] { OnDoubleClick(p); });
    }
    event->accept();
}

void COpenGLBaseView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = DevicePoint(event->position());
    Guarded("a mouse move", [&] { DragStep(p); });
    event->accept();
}

void COpenGLBaseView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int s = MouseDragTypeSetting();
    if ((s == 0 && m_dragMode == kDragPan) || (s == 1 && m_dragMode == kDragRotate)) return;
    const int delta = event->angleDelta().y();
    if (delta == 0) return;
    // Small deltas (high-resolution wheels) add up until they make a whole step:
    // a zero step would still move the perspective target.
    const double k = PerspectiveSetting() != 0 ? 1.0 : 2.0;
    const long long total = static_cast<long long>(m_wheelRemainder) + delta;
    const double scaled = std::trunc(static_cast<double>(total) * k);
    const int n = static_cast<int>(std::clamp(scaled, -32768.0, 32767.0));
    int m = n / 3;
    if (m == 0) {
        m_wheelRemainder = static_cast<int>(std::clamp<long long>(total, -32768, 32767));
        return;
    }
    m_wheelRemainder = 0;
    // One large turn reaches the zoom limit instead of being refused as a whole.
    if (m_zoom > 0.0f) {
        const double upLimit = std::floor(std::log2(kMaxZoom / m_zoom) / kZoomPerPixel);
        const double downLimit = std::ceil(std::log2(kMinZoom / m_zoom) / kZoomPerPixel);
        m = static_cast<int>(std::clamp<double>(m, downLimit, upLimit));
        if (m == 0) return;
    }
    const QPoint q = DevicePoint(event->position());
    Guarded("a wheel step", [&] {
        BeginDrag(q, kDragZoom);
        DragStep(QPoint(q.x() - m, q.y() - m));
        EndDrag();
    });
}

void COpenGLBaseView::keyPressEvent(QKeyEvent* event)
{
    Guarded("a key", [&] {
        switch (event->key()) {
        case Qt::Key_Delete:
            DeleteSelection();
            break;
        case Qt::Key_Escape:
            if (m_leftPressPending && m_editMode == 0) m_boxCancelled = 1;
            ResetDragState();
            ClearPickBuckets();
            if (ClearPickedList() == 0) ClearSelection();
            InvalidateScene();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (m_editMode == 1 && m_editPolygonActive != 0) {
                m_rubberBandPresent = 0;
                m_leftPressPending = false;
                m_boxStarted = false;
                SelectByScreenPolygon(m_inputScreenPoints, 0);
                InvalidateScene();
                ResetDragState();
            }
            break;
        case Qt::Key_Backspace:
            if (m_editMode == 1 && m_editPolygonActive != 0 && !m_inputModelPoints.empty() && !m_rubberBand.empty()) {
                const QPoint pointer = m_rubberBand.back();
                m_inputModelPoints.pop_back();
                m_rubberBand.clear();
                if (m_inputModelPoints.empty()) {
                    ResetDragState();
                } else {
                    ReprojectInputPoints();
                    m_rubberBand = m_inputScreenPoints;
                    m_rubberBand.push_back(pointer);
                }
                InvalidateScene();
            }
            break;
        default:
            break;
        }
    });
    QOpenGLWidget::keyPressEvent(event);
}

void COpenGLBaseView::contextMenuEvent(QContextMenuEvent* event)
{
    // The context menu opens from the right-button release (ShowContextMenu), never
    // from the press that Qt reports as a context-menu event.
    event->accept();
}
