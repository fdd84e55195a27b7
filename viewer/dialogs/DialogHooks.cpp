#include "viewer/dialogs/DialogHooks.h"

#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/VurTinToElmDlg.h"
#include "viewer/render/ShellHooks.h"

void InstallDialogHooks()
{
    ShellHooks::Instance().chooseTinToCadKind = [](QWidget* parent, int& kind) {
        VurTinToElmDlg::Values values{static_cast<short>(kind == 0 ? 0 : 1)};
        if (tessara::RunDialog<VurTinToElmDlg>(parent, values) != tessara::IDOK)
            return false;
        kind = values.kind;
        return true;
    };
}

void RemoveDialogHooks()
{
    ShellHooks::Instance().chooseTinToCadKind = nullptr;
}
