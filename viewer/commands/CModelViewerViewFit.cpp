// The six view directions: the camera is reset, the model's box fitted into
// the window from above, then turned to the chosen side.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/commands/ModelFit.h"
#include "viewer/render/SceneExtents.h"

#include <mutex>

namespace {

constexpr float kEmptySceneZoom = 10.0f;

} // namespace

void CModelViewerView::RegisterViewDirectionCommands(CommandMap& map)
{
    map.On(cmd::kShowUp, [this] { OnShowUp(); });
    map.On(cmd::kShowLow, [this] { OnShowLow(); });
    map.On(cmd::kShowLeft, [this] { OnShowLeft(); });
    map.On(cmd::kShowRight, [this] { OnShowRight(); });
    map.On(cmd::kShowFront, [this] { OnShowFront(); });
    map.On(cmd::kShowBack, [this] { OnShowBack(); });
}

void CModelViewerView::OnShowUp() { FitModelToWindow(static_cast<int>(ViewDirection::Up)); }
void CModelViewerView::OnShowLow() { FitModelToWindow(static_cast<int>(ViewDirection::Low)); }
void CModelViewerView::OnShowLeft() { FitModelToWindow(static_cast<int>(ViewDirection::Left)); }
void CModelViewerView::OnShowRight() { FitModelToWindow(static_cast<int>(ViewDirection::Right)); }
void CModelViewerView::OnShowFront() { FitModelToWindow(static_cast<int>(ViewDirection::Front)); }
void CModelViewerView::OnShowBack() { FitModelToWindow(static_cast<int>(ViewDirection::Back)); }

int CModelViewerView::GetModelExtent(PT& min, PT& max)
{
    return SceneExtents::GetModelExtent(ModelStore(), min, max);
}

void CModelViewerView::FitModelToWindow(int direction)
{
    // The store is read, not changed; a load that holds it leaves the camera as
    // it is rather than freezing the window.
    std::unique_lock lock(ViewMutex(), std::try_to_lock);
    if (!lock.owns_lock())
        return;
    ResetDragState();
    m_modelMatrix.setToIdentity();
    m_orientationMatrix.setToIdentity();

    PT min, max;
    if (GetModelExtent(min, max) == 0) {
        m_rotationCentre = QVector3D(0.0f, 0.0f, static_cast<float>(kUnsetDouble));
        m_lookAt = m_rotationCentre;
        m_axisOrigin = QVector3D(0.0f, 0.0f, 0.0f);
        m_axisDirty = true;
        m_zoom = kEmptySceneZoom;
    } else {
        const CModelDataMng& store = ModelStore();
        store.UserToModel(min);
        store.UserToModel(max);
        lock.unlock();
        const float cx = static_cast<float>(min.x() + (max.x() - min.x()) * 0.5);
        const float cy = static_cast<float>(min.y() + (max.y() - min.y()) * 0.5);
        m_rotationCentre = QVector3D(cx, cy, static_cast<float>(kUnsetDouble));
        m_lookAt = m_rotationCentre;
        m_zoom = 1.0f;
        UpdateProjection();
        UpdateModelView();
        QVector3D w1, w2;
        const bool projected = ProjectToWindow(QVector3D(static_cast<float>(min.x()), static_cast<float>(min.y()), 0.0f), w1) &&
                               ProjectToWindow(QVector3D(static_cast<float>(max.x()), static_cast<float>(max.y()), 0.0f), w2);
        // A window of no size has nothing to fit into: the zoom stays at 1.
        if (projected) {
            if (const auto zoom = FitZoom(w1.x(), w1.y(), w2.x(), w2.y(), m_clientWidth, m_clientHeight))
                m_zoom = *zoom;
        }
    }
    if (lock.owns_lock())
        lock.unlock();
    UpdateProjection();
    UpdateModelView();
    const ViewDirectionTurn turn = TurnOf(static_cast<ViewDirection>(direction));
    if (turn.angle1 != 0.0f)
        ApplyRotation(turn.angle1, turn.ax1, turn.ay1, turn.az1);
    if (turn.angle2 != 0.0f)
        ApplyRotation(turn.angle2, turn.ax2, turn.ay2, turn.az2);
    InvalidateScene();
}
