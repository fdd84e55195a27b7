// The command room's part of the main view: its set-up, tear-down and the table
// of the commands it handles.

#include "viewer/render/CModelViewerView.h"

void CModelViewerView::InitCommands() {}

void CModelViewerView::ReleaseCommands() {}

void CModelViewerView::RegisterEditCommands(CommandMap& map)
{
    RegisterViewDirectionCommands(map);
    RegisterDisplayCommands(map);
    RegisterGroupingCommands(map);
    RegisterTinGenerationCommands(map);
    RegisterColouringCommands(map);
    RegisterTinOptionCommands(map);
    RegisterSettingDialogCommands(map);
}
