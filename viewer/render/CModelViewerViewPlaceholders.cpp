// Placeholders for main-view members that belong to other folders, so the
// program links until those folders define them. Each owner deletes its lines
// here in the same commit that adds its own definitions:
//
//   viewer/commands: InitCommands, ReleaseCommands, RegisterEditCommands

#include "viewer/render/CModelViewerView.h"

void CModelViewerView::InitCommands() {}
void CModelViewerView::ReleaseCommands() {}
void CModelViewerView::RegisterEditCommands(CommandMap&) {}
