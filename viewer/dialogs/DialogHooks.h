#pragma once

#include <functional>

class COpenGLBaseView;

// Fills the hooks through which the rooms below the dialogs open them (the
// TIN-to-CAD choice of the host link; the file list, the comma-text options and
// the bitmap writer of the file dispatcher), and empties them again at exit.
// activeView names the view whose picture a ".bmp" save writes.
void InstallDialogHooks(std::function<COpenGLBaseView*()> activeView = {});
void RemoveDialogHooks();
