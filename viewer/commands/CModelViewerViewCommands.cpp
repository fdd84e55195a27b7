// The command room's part of the main view: its set-up, tear-down and the table
// of the commands it handles.

#include "viewer/render/CModelViewerView.h"

#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/dialogs/CDeleteDlg.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/render/ViewConstants.h"

#include <utility>

namespace {

// The tool modes and the commands that enter and leave them.
constexpr std::pair<std::uint8_t, unsigned> kToolModeCommands[] = {
    {toolmode::kCadEdit, cmd::kCadSelect},          {toolmode::kTinVertexEdit, cmd::kTinVertexRemove},
    {toolmode::kTinEdgeSwap, cmd::kTinEdgeSwap},     {toolmode::kTinFaceDelete, cmd::kTinFaceDelete},
    {toolmode::kDistance, cmd::kToolDistance},       {toolmode::kReadout, cmd::kShowXyz},
    {toolmode::kSection, cmd::kToolSection},
};

} // namespace

void CModelViewerView::InitCommands()
{
    // A model-file load clears through the view, so that what the view holds of
    // the cleared content goes with it.
    FilesState().clearData = [this](std::uint16_t flags, std::uint16_t version) { ClearData(flags, version); };
}

void CModelViewerView::ReleaseCommands()
{
    delete m_deleteDlg;
    m_deleteDlg = nullptr;
    CloseDistanceDialog();
}

void CModelViewerView::RegisterEditCommands(CommandMap& map)
{
    RegisterViewDirectionCommands(map);
    RegisterDisplayCommands(map);
    RegisterGroupingCommands(map);
    RegisterTinGenerationCommands(map);
    RegisterSamplingCommands(map);
    RegisterDeletionCommands(map);
    RegisterColouringCommands(map);
    RegisterTinOptionCommands(map);
    RegisterSettingDialogCommands(map);
    RegisterMeasureCommands(map);
    RegisterSectionCommands(map);

    // Point selection (edit mode 1): clicks set the corners of a polygon, a double
    // click or Enter selects the points inside, Backspace takes back the last
    // corner and Escape drops the polygon. One mode at a time: entering point
    // selection leaves the tool mode through its own command, and entering a tool
    // mode leaves point selection.
    map.On(cmd::kPointSelect, [this, &map] {
        if (m_editMode == 1) {
            SetEditMode(0);
            ResetDragState();
            InvalidateScene();
            return;
        }
        for (const auto& [mode, id] : kToolModeCommands)
            if (m_toolMode == mode)
                if (const CommandMap::Handler* leave = map.FindCommand(id))
                    (*leave)();
        m_toolMode = toolmode::kNone;
        OnSetCursor();
        ResetDragState();
        SetEditMode(1);
        ShowEditPrompt();
        InvalidateScene();
    });
    map.OnUpdate(cmd::kPointSelect, [this](CommandUi& ui) { ui.checked = m_editMode == 1; });
    for (const auto& [mode, id] : kToolModeCommands) {
        map.Before(id, [this] {
            if (m_editMode == 1) {
                SetEditMode(0);
                ResetDragState();
            }
        });
    }
}
