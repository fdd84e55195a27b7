// Display switches, TIN picture modes, overlay toggles, the window placement
// asked of the host, and the update-UI table of the view's commands.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/commands/SceneCounters.h"
#include "viewer/render/FrameLink.h"
#include "viewer/render/SceneExtents.h"
#include "viewer/render/ShellHooks.h"
#include "viewer/render/ViewConstants.h"

#include <initializer_list>
#include <mutex>

namespace {

constexpr DrawableKind kAllTinFaces[] = {
    DrawableKind::GroupTinFaces,    DrawableKind::ViewCloudTinFaces,  DrawableKind::CadTinFaces,
    DrawableKind::BuildTinFaces,    DrawableKind::RoadBridgeTinFaces, DrawableKind::LightingTinFaces,
    DrawableKind::UtilityPoleTinFaces, DrawableKind::HighTowerTinFaces, DrawableKind::RailRoadTinFaces,
    DrawableKind::ChimneyTinFaces,
};
constexpr DrawableKind kTexturedFaces[] = {DrawableKind::GroupTinTextured, DrawableKind::ViewCloudTinTextured,
                                           DrawableKind::CadTinTextured};

void CloseLegend(const std::function<bool()>& close)
{
    if (close)
        close();
}

} // namespace

void CModelViewerView::RegisterDisplayCommands(CommandMap& map)
{
    const auto toggle = [this, &map](unsigned id, int ViewSettings::*field, bool caption) {
        map.On(id, [this, field, caption] {
            m_settings.*field = m_settings.*field != 0 ? 0 : 1;
            if (caption)
                InvalidateScaleCaption();
            InvalidateScene();
        });
        map.OnUpdate(id, [this, field](CommandUi& ui) { ui.checked = m_settings.*field != 0; });
    };
    map.On(cmd::kSwitchCad, [this] { OnSwitchCad(); });
    map.OnUpdate(cmd::kSwitchCad, [this](CommandUi& ui) { ui.checked = m_settings.cadSwitch != 0; });
    toggle(cmd::kSwitchPart, &ViewSettings::partSwitch, true);
    toggle(cmd::kSwitchTin, &ViewSettings::tinEdgeSwitch, true);
    toggle(cmd::kSwitchTinPoint, &ViewSettings::tinPointSwitch, true);
    toggle(cmd::kSupportPaper, &ViewSettings::paper, false);
    toggle(cmd::kSupportMesh, &ViewSettings::grid, false);
    toggle(cmd::kSupportAxis, &ViewSettings::axis, false);
    toggle(cmd::kSupportDirXyz, &ViewSettings::xyzMark, false);
    toggle(cmd::kSupportDirNews, &ViewSettings::compassMark, false);
    toggle(cmd::kSupportSize, &ViewSettings::sizeCaption, false);
    map.On(cmd::kModeDepth, [this] { OnModeDepthToggle(); });
    map.OnUpdate(cmd::kModeDepth, [this](CommandUi& ui) { ui.checked = m_settings.depthMode == 0; });

    map.On(cmd::kPictureColor, [this] { OnPictureColor(); });
    map.On(cmd::kPictureTexture, [this] { OnPictureTexture(); });
    map.On(cmd::kPictureHighLow, [this] { OnPictureHighLow(); });
    map.On(cmd::kPictureIncline, [this] { OnPictureIncline(); });
    for (const auto& [id, mode] : {std::pair{cmd::kPictureColor, 1}, std::pair{cmd::kPictureTexture, 3},
                                   std::pair{cmd::kPictureHighLow, 4}, std::pair{cmd::kPictureIncline, 2}}) {
        map.OnUpdate(id, [this, mode](CommandUi& ui) { ui.checked = m_settings.tinPictureMode == mode; });
    }
    map.On(cmd::kSyncWindow, [this] { OnSyncWindowWithHost(); });

    // Check marks of commands handled elsewhere in the view.
    const auto checkedByToolMode = [this, &map](unsigned id, std::uint8_t mode) {
        map.OnUpdate(id, [this, mode](CommandUi& ui) { ui.checked = m_toolMode == mode; });
    };
    checkedByToolMode(cmd::kCadSelect, toolmode::kCadEdit);
    checkedByToolMode(cmd::kCadEdit8, toolmode::kPolyline);
    checkedByToolMode(cmd::kCadEdit9, 9);
    checkedByToolMode(cmd::kTinFaceDelete, toolmode::kTinFaceDelete);
    checkedByToolMode(cmd::kTinVertexRemove, toolmode::kTinVertexEdit);
    checkedByToolMode(cmd::kTinEdgeSwap, toolmode::kTinEdgeSwap);
    checkedByToolMode(cmd::kToolDistance, toolmode::kDistance);
    checkedByToolMode(cmd::kToolSection, toolmode::kSection);
    checkedByToolMode(cmd::kShowXyz, toolmode::kReadout);
    unsigned colourMode = 1;
    for (unsigned id : {cmd::kPointHeight, cmd::kPointRgb, cmd::kPointMono, cmd::kPointIntensity, cmd::kPointGroup}) {
        const short mode = static_cast<short>(colourMode++);
        map.OnUpdate(id, [this, mode](CommandUi& ui) { ui.checked = m_pointColourMode == mode; });
    }
    map.OnUpdate(cmd::kGroupView, [](CommandUi& ui) {
        const FrameLink* frame = FrameLink::Main();
        ui.checked = frame != nullptr && frame->GroupPaneVisible();
    });
}

void CModelViewerView::OnSwitchCad()
{
    m_settings.cadSwitch = m_settings.cadSwitch != 0 ? 0 : 1;
    InvalidateScaleCaption();
    if (m_settings.cadSwitch == 0)
        ClearPickedList();
    InvalidateScene();
}

void CModelViewerView::OnModeDepthToggle()
{
    m_settings.depthMode = m_settings.depthMode != 0 ? 0 : 1;
    InvalidateScene();
}

void CModelViewerView::MarkAllTinFaces(bool withTextures)
{
    RenderBook& book = BuffersState().book;
    for (DrawableKind kind : kAllTinFaces)
        book.Kind(kind).releasePending = 1;
    if (withTextures)
        for (DrawableKind kind : kTexturedFaces)
            book.Kind(kind).releasePending = 1;
}

void CModelViewerView::UpdateOrCloseElevationLegend()
{
    if (m_pointColourMode == 1)
        UpdateHeightLegend();
    else
        CloseLegend(ShellHooks::Instance().closeElevationLegend);
}

void CModelViewerView::SetPictureModeWithLegends(int mode)
{
    // Colour and texture pictures: pressing the active one turns the picture off.
    if (m_settings.tinPictureMode == mode) {
        m_settings.tinPictureMode = 0;
    } else {
        m_settings.tinPictureMode = mode;
        MarkAllTinFaces(true);
    }
    UpdateOrCloseElevationLegend();
    if (m_pointColourMode == 4)
        UpdateIntensityLegend();
    else
        CloseLegend(ShellHooks::Instance().closeIntensityLegend);
    CloseLegend(ShellHooks::Instance().closeSlopeLegend);
    InvalidateScaleCaption();
    InvalidateScene();
}

void CModelViewerView::OnPictureColor() { SetPictureModeWithLegends(1); }
void CModelViewerView::OnPictureTexture() { SetPictureModeWithLegends(3); }

void CModelViewerView::OnPictureHighLow()
{
    if (m_settings.tinPictureMode == 4) {
        m_settings.tinPictureMode = 0;
        UpdateOrCloseElevationLegend();
    } else {
        CloseLegend(ShellHooks::Instance().closeSlopeLegend);
        m_settings.tinPictureMode = 4;
        UpdateHeightLegend();
    }
    InvalidateScaleCaption();
    InvalidateScene();
}

void CModelViewerView::OnPictureIncline()
{
    if (m_settings.tinPictureMode == 2) {
        m_settings.tinPictureMode = 0;
        CloseLegend(ShellHooks::Instance().closeSlopeLegend);
        UpdateOrCloseElevationLegend();
    } else {
        m_settings.tinPictureMode = 2;
        MarkAllTinFaces(true);
        UpdateOrCloseElevationLegend();
        if (CountShownTinTriangles() > 0)
            ShowSlopeLegendWindow();
    }
    InvalidateScaleCaption();
    InvalidateScene();
}

std::int64_t CModelViewerView::CountShownTinTriangles()
{
    return ReadStore<std::int64_t>([](const CModelDataMng& store) { return ::CountShownTinTriangles(store); }, 0);
}

std::int64_t CModelViewerView::CountShownPoints()
{
    return ReadStore<std::int64_t>([](const CModelDataMng& store) { return ::CountShownPoints(store); }, 0);
}

void CModelViewerView::UpdateHeightLegend()
{
    const bool heightPicture = m_settings.tinPictureMode == 4;
    const bool heightPoints = m_pointColourMode == 1;
    int kinds = heightPoints ? SceneExtents::kCloudGroups : 0;
    if (heightPicture)
        kinds |= SceneExtents::kAllTinKinds;
    PT min(kUnsetDouble, kUnsetDouble, kUnsetDouble), max = min;
    std::int64_t tins = 0, points = 0;
    const bool read = ReadStore<bool>(
        [&](CModelDataMng& store) {
            const SceneExtents::Toggles toggles{m_pointColourMode, m_settings.tinPictureMode,
                                                m_settings.tinEdgeSwitch, m_settings.tinPointSwitch};
            if (kinds == 0 || SceneExtents::GetVisibleExtent(store, toggles, kinds, 0, min, max) == 0) {
                min = PT(kUnsetDouble, kUnsetDouble, kUnsetDouble);
                max = min;
            }
            tins = heightPicture ? ::CountShownTinTriangles(store) : 0;
            points = heightPoints ? ::CountShownPoints(store) : 0;
            if (points > 0) {
                // Groups coloured for another range are coloured again.
                bool any = false;
                for (auto& group : store.m_groups) {
                    GroupGpuData* data = group ? GroupGpuData::Find(*group) : nullptr;
                    if (data != nullptr &&
                        (data->heightRange[0] != min.z() || data->heightRange[1] != max.z())) {
                        data->rebuildRequested = 1;
                        any = true;
                    }
                }
                if (any)
                    BuffersState().book.Kind(DrawableKind::GroupCloud).releasePending = 1;
            }
            return true;
        },
        false);
    if (!read) {
        // A load holds the store: the next frame colours everything again.
        BuffersState().recolourRequested = 1;
        return;
    }
    if (tins > 0) {
        MarkAllTinFaces(false);
        BuffersState().book.Kind(DrawableKind::GroupTinTextured).releasePending = 1;
    }
    if (tins + points <= 0) {
        CloseLegend(ShellHooks::Instance().closeElevationLegend);
        LayOutLegendWindows();
    } else {
        ShowElevationLegendWindow(max.z(), min.z());
    }
}

void CModelViewerView::UpdateIntensityLegend()
{
    double low = 0.0, high = 0.0;
    std::int64_t points = 0;
    ReadStore<bool>(
        [&](CModelDataMng& store) {
            SceneExtents::GetVisibleIntensityRange(store, low, high);
            points = ::CountShownPoints(store);
            return true;
        },
        false);
    if (m_pointColourMode == 4 && points > 0) {
        RequestRecolourPoints();
        ShowIntensityLegendWindow();
    } else {
        CloseLegend(ShellHooks::Instance().closeIntensityLegend);
    }
    LayOutLegendWindows();
}

void CModelViewerView::RequestRecolourPoints()
{
    BuffersState().recolourRequested = 1;
}

void CModelViewerView::OnSyncWindowWithHost()
{
    std::array<int, 4> rect{};
    if (!FetchHostWindowPlacement(m_settings.windowAlignment, rect))
        return;
    if (FrameLink* frame = FrameLink::Main())
        frame->MoveMainWindow(rect[0], rect[1], rect[2], rect[3]);
}
