// Tessara: the survey-data viewer the host starts with a work folder.
#include "viewer/app/CQuonEditorViewApp.h"
#include "viewer/render/COpenGLBaseView.h"

int main(int argc, char* argv[])
{
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
