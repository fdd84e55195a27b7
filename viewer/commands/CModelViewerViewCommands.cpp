// The command room's part of the main view: its set-up, tear-down and the table
// of the commands it handles.

#include "viewer/render/CModelViewerView.h"

#include "viewer/dialogs/CDeleteDlg.h"
#include "viewer/files/ViewFilesState.h"

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
}
