// Tessara: the survey-data viewer the host starts with a work folder.
#include <QtGlobal>

#include "viewer/app/CQuonEditorViewApp.h"
#include "viewer/render/COpenGLBaseView.h"

int main(int argc, char* argv[])
{
    // The legends and hints are placed as top-level windows beside the view, which
    // Wayland does not allow: under a Wayland session with X11 at hand, run on X11.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    COpenGLBaseView::SetDefaultSurfaceFormat();
    CQuonEditorViewApp app(argc, argv);
    if (!app.InitInstance()) {
        app.DestroyMainWindow();
        app.ExitInstance();
        return 1;
    }
    const int result = app.exec();
    // The view saves its settings while it is destroyed, before the application ends.
    app.DestroyMainWindow();
    app.ExitInstance();
    return result;
}
