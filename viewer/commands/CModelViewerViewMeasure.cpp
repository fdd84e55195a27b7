// The distance and coordinate tools: entering and leaving them, the readings
// after each pick, and the lines, markers and hints drawn over the scene.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "outside/GeoFunc.h"
#include "outside/StoreMarkers.h"
#include "platform/MessageBox.h"
#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/commands/Measurement.h"
#include "viewer/commands/ToolMarkers.h"
#include "viewer/dialogs/DstConfDlg.h"
#include "viewer/dialogs/HintSlots.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/GlFunctions.h"
#include "viewer/render/ScreenProjector.h"
#include "viewer/render/ViewConstants.h"

#include <cmath>
#include <optional>

namespace {

// Distance hint kinds and their text colours.
constexpr int kSlopeHint = 1;
constexpr int kPlaneHint = 2;
constexpr int kHeightHint = 3;
constexpr COLORREF kSlopeHintColour = 0x0000C0;    // RGB(192, 0, 0)
constexpr COLORREF kPlaneHintColour = 0x008000;    // RGB(0, 128, 0)
constexpr COLORREF kHeightHintColour = 0x505000;   // RGB(0, 80, 80)

struct Rgb {
    float r, g, b;
};
constexpr Rgb kSlopeLineColour{0.8f, 0.0f, 0.0f};
constexpr Rgb kPlaneLineColour{0.0f, 0.8f, 0.0f};
constexpr Rgb kHeightLineColour{0.0f, 0.8f, 0.8f};
constexpr Rgb kMarkerColour{1.0f, 0.0f, 0.0f};
constexpr Rgb kCornerMarkerColour{0.0f, 1.0f, 0.0f};

QVector3D ToVector(const PT& p)
{
    return QVector3D(static_cast<float>(p.x()), static_cast<float>(p.y()), static_cast<float>(p.z()));
}

PT Middle(const PT& a, const PT& b, double z)
{
    return PT((a.x() + b.x()) / 2.0, (a.y() + b.y()) / 2.0, z);
}

void DrawMarker(GlFunctions& gl, const PT& point, Rgb colour)
{
    DrawToolMarkers(gl, std::span<const PT>(&point, 1), colour.r, colour.g, colour.b);
}

void DrawLine(GlFunctions& gl, const PT& from, const PT& to, Rgb colour)
{
    gl.glColor3f(colour.r, colour.g, colour.b);
    gl.glBegin(GL_LINES);
    gl.glVertex3d(from.x(), from.y(), from.z());
    gl.glVertex3d(to.x(), to.y(), to.z());
    gl.glEnd();
}

} // namespace

void CModelViewerView::RegisterMeasureCommands(CommandMap& map)
{
    map.On(cmd::kToolDistance, [this] { OnToolDst(); });
    map.On(cmd::kShowXyz, [this] { OnToolShowXyz(); });
}

void CModelViewerView::ForgetMeasuredPoints()
{
    m_measurePoints.clear();
    m_sectionPoints.clear();
    m_distanceToolActive = 0;
    m_readoutToolActive = 0;
    m_sectionToolActive = 0;
}

void CModelViewerView::CloseDistanceDialog()
{
    delete m_dstConfDlg;
    m_dstConfDlg = nullptr;
}

void CModelViewerView::ToggleMeasureMode(std::uint8_t mode)
{
    if (m_toolMode == mode) {
        if (mode == toolmode::kDistance) CloseDistanceDialog();
        m_toolMode = toolmode::kNone;
        ShowEditPrompt();
        ForgetMeasuredPoints();
        ClearPickBuckets();
    } else {
        CloseDistanceDialog();
        if (mode == toolmode::kDistance) {
            m_measureResult.showPlane = &m_settings.showPlaneDistance;
            m_measureResult.showSlope = &m_settings.showSlopeDistance;
            m_measureResult.showHeight = &m_settings.showHeightDifference;
            auto* dialog = new DstConfDlg(&m_settings, this, [this] { InvalidateScene(); });
            connect(dialog, &QObject::destroyed, this, [this, dialog] {
                if (m_dstConfDlg == dialog) m_dstConfDlg = nullptr;
            });
            m_dstConfDlg = dialog;
            dialog->show();
        }
        m_toolMode = mode;
        SetMainFrameStatusText(mode == toolmode::kDistance ? measuretexts::kFirstPoint
                                                           : measuretexts::kCoordinatePoint);
        ForgetMeasuredPoints();
        ResetDragState();
        ClearPickBuckets();
        ClearSelection();
    }
    OnSetCursor();
    InvalidateScene();
}

void CModelViewerView::OnToolDst() { ToggleMeasureMode(toolmode::kDistance); }
void CModelViewerView::OnToolShowXyz() { ToggleMeasureMode(toolmode::kReadout); }

std::optional<Measurement> CModelViewerView::CurrentMeasurement(std::vector<PT>& points)
{
    return ReadStore<std::optional<Measurement>>(
        [&](CModelDataMng& store) -> std::optional<Measurement> {
            for (PT& p : points) store.ModelToUser(p);
            return Measurement(FilesState().scene.frame.surveyTransform);
        },
        std::nullopt);
}

void CModelViewerView::ShowDistanceResult(std::size_t)
{
    if (m_toolMode != toolmode::kDistance || m_measurePoints.size() < 2) return;
    std::vector<PT> user{m_measurePoints[0], m_measurePoints[1]};
    const std::optional<Measurement> measurement = CurrentMeasurement(user);
    if (!measurement) {
        // The store is busy: the second point is dropped, so the user can pick it again.
        m_measurePoints.resize(1);
        tessara::MessageBox(filetexts::kBusy, tessara::kDefaultMessageCaption, tessara::MB_ICONWARNING, this);
        return;
    }
    const std::optional<DistanceValues> values = measurement->Distance(user[0], user[1]);
    if (!values) {
        // Nothing that could be shown: start the measurement again.
        m_measurePoints.clear();
        m_distanceToolActive = 0;
        SetMainFrameStatusText(measuretexts::kFirstPoint);
        InvalidateScene();
        return;
    }
    m_measureResult.plane = values->plane;
    m_measureResult.height = values->height;
    m_measureResult.slope = values->slope;
    SetMainFrameStatusText(Measurement::DistanceStatusText(*values));
    m_distanceToolActive = 0;
    InvalidateScene();
}

void CModelViewerView::DrawDistanceFirstPoint()
{
    if (m_toolMode != toolmode::kDistance || m_measurePoints.size() != 1) return;
    if (LastStatusText() != measuretexts::kSecondPoint) SetMainFrameStatusText(measuretexts::kSecondPoint);
    if (GlFunctions* gl = Gl()) DrawMarker(*gl, m_measurePoints[0], kMarkerColour);
}

void CModelViewerView::DrawDistanceMeasure()
{
    const bool inMode = m_toolMode == toolmode::kDistance;
    if (!inMode && m_dstConfDlg != nullptr) {
        // Another tool took over: the switches window ends with the distance tool.
        // Deleted later, as this runs inside the view's paint.
        m_dstConfDlg->hide();
        m_dstConfDlg->deleteLater();
        m_dstConfDlg = nullptr;
    }
    // The hints follow the picture: closed before each full frame and placed
    // again after it, but left alone while refinement steps redraw it.
    if (!inMode || !RefinementActive()) CloseDistanceToolTips();
    GlFunctions* gl = Gl();
    if (!inMode || m_measurePoints.size() < 2 || gl == nullptr) return;
    const DistanceLines lines = Measurement::Lines(m_measurePoints[0], m_measurePoints[1]);
    const bool slope = m_measureResult.showSlope != nullptr && *m_measureResult.showSlope != 0;
    const bool plane = m_measureResult.showPlane != nullptr && *m_measureResult.showPlane != 0;
    const bool height = m_measureResult.showHeight != nullptr && *m_measureResult.showHeight != 0;

    gl->glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_LINE_BIT);
    gl->glDisable(GL_LIGHTING);
    gl->glDisable(GL_TEXTURE_2D);
    gl->glEnable(GL_DEPTH_TEST);
    gl->glDepthFunc(GL_ALWAYS);
    gl->glLineWidth(2.0f);
    if (slope) DrawLine(*gl, lines.high, lines.low, kSlopeLineColour);
    if (plane) DrawLine(*gl, lines.low, lines.corner, kPlaneLineColour);
    if (height) DrawLine(*gl, lines.corner, lines.high, kHeightLineColour);
    gl->glPopAttrib();

    if (m_dragMode == kDragNone && !RefinementActive()) {
        const double meanZ = (lines.low.z() + lines.high.z()) / 2.0;
        const auto hint = [this](const PT& at, double value, COLORREF colour, int kind) {
            QVector3D window;
            if (!ProjectToWindow(ToVector(at), window)) return;
            if (const auto anchor = Measurement::HintAnchor(window.x(), window.y(), m_clientWidth, m_clientHeight))
                ShowValueToolTip(value, *anchor, colour, kind);
        };
        if (slope) hint(Middle(lines.low, lines.high, meanZ), m_measureResult.slope, kSlopeHintColour, kSlopeHint);
        if (plane) hint(Middle(lines.low, lines.high, lines.low.z()), m_measureResult.plane, kPlaneHintColour, kPlaneHint);
        if (height) hint(PT(lines.high.x(), lines.high.y(), meanZ), m_measureResult.height, kHeightHintColour, kHeightHint);
        ArrangeDistanceToolTips();
    }
    for (const PT& p : m_measurePoints) DrawMarker(*gl, p, kMarkerColour);
    if (plane || height) DrawMarker(*gl, lines.corner, kCornerMarkerColour);
}

void CModelViewerView::ShowPointCoordinates(PT* point)
{
    if (point == nullptr || m_toolMode != toolmode::kReadout) return;
    m_measurePoints.assign(1, *point);
    std::vector<PT> user{*point};
    const std::optional<Measurement> measurement = CurrentMeasurement(user);
    if (!measurement) {
        m_measurePoints.clear();
        tessara::MessageBox(filetexts::kBusy, tessara::kDefaultMessageCaption, tessara::MB_ICONWARNING, this);
        return;
    }
    if (const std::optional<PT> survey = measurement->Coordinates(user[0])) {
        SetMainFrameStatusText(Measurement::CoordinateStatusText(*survey));
    } else {
        m_measurePoints.clear();
        SetMainFrameStatusText(measuretexts::kCoordinatePoint);
    }
    m_readoutToolActive = 0;
    InvalidateScene();
}

void CModelViewerView::DrawCoordinateMarker()
{
    const bool inMode = m_toolMode == toolmode::kReadout;
    if (!inMode || !RefinementActive()) CloseToolTip(kHintKindList);
    GlFunctions* gl = Gl();
    if (!inMode || m_measurePoints.empty() || gl == nullptr) return;
    if (m_dragMode != kDragNone || RefinementActive()) return;
    const PT& point = m_measurePoints.back();
    QVector3D window;
    if (ProjectToWindow(ToVector(point), window)) {
        if (const auto anchor = Measurement::HintAnchor(window.x(), window.y(), m_clientWidth, m_clientHeight)) {
            std::vector<PT> user{point};
            if (const auto measurement = CurrentMeasurement(user)) {
                if (const std::optional<PT> survey = measurement->Coordinates(user[0]))
                    ShowMeasureListToolTip(*survey, *anchor);
            }
        }
    }
    DrawMarker(*gl, point, kMarkerColour);
}

