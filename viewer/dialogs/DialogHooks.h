#pragma once

// Fills the shell hooks through which the rooms below the dialogs open them (the
// TIN-to-CAD choice of the host link), and empties them again at exit.
void InstallDialogHooks();
void RemoveDialogHooks();
