// The two settings dialogs of the view: "設定" (display and reading settings) and
// "色設定" (the height colour stops).

#include "viewer/render/CModelViewerView.h"

#include "outside/CGradationSetting.h"
#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/dialogs/CColorSettingDlg.h"
#include "viewer/dialogs/CGlviewrVurDlg.h"
#include "viewer/dialogs/DialogRunner.h"

void CModelViewerView::RegisterSettingDialogCommands(CommandMap& map)
{
    map.On(cmd::kFileSetting, [this] { OnFileSetting(); });
    map.On(cmd::kColorSetting, [this] { OnColorSetting(); });
}

void CModelViewerView::ApplyChangedSettings(const ViewSettings& before)
{
    if (IsGlReady()) {
        makeCurrent();
        SetBackgroundColor();
        SetProjection();
        SetModelView();
        doneCurrent();
    } else {
        m_backgroundColour = BackgroundColourOf(m_settings.background);
    }
    if (before.pointDisplayType != m_settings.pointDisplayType || before.pointColour != m_settings.pointColour ||
        before.colourBrightness != m_settings.colourBrightness)
        RequestRecolourPoints();
    InvalidateScaleCaption();
    m_cameraMoved = 1;
    MarkAllTinFaces(false);
    RefreshValueLegends();
    InvalidateScene();
}

void CModelViewerView::OnFileSetting()
{
    CGlviewrVurDlg::Values values;
    values.settings = m_settings;
    // "更新" and "初期値" put the record into the view while the dialog stays open.
    values.applyNow = [this](const ViewSettings& settings) {
        const ViewSettings applied = m_settings;
        m_settings = settings;
        ApplyChangedSettings(applied);
    };
    if (tessara::RunDialog<CGlviewrVurDlg>(this, values) != tessara::IDOK)
        return;
    // Compared with what the view shows now: "更新" may have applied a part already.
    const ViewSettings shown = m_settings;
    m_settings = values.settings;
    ApplyChangedSettings(shown);
}

void CModelViewerView::OnColorSetting()
{
    CColorSettingDlg::Values values;
    values.store.LoadGradationSetting();
    if (tessara::RunDialog<CColorSettingDlg>(this, values) != tessara::IDOK)
        return;
    m_settings.gradation.LoadGradationSetting();
    if (m_pointColourMode == 4)
        UpdateIntensityLegend();
    if (m_pointColourMode == 1 || m_settings.tinPictureMode == 4)
        UpdateHeightLegend();
    RequestRecolourPoints();
    InvalidateScaleCaption();
    m_cameraMoved = 1;
    InvalidateScene();
}
