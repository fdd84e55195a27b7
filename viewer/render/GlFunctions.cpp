#include "viewer/render/GlFunctions.h"

#include <QOpenGLContext>
#include <QOpenGLVersionFunctionsFactory>

GlFunctions* CurrentGlFunctions()
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (context == nullptr) return nullptr;
    auto* gl = QOpenGLVersionFunctionsFactory::get<GlFunctions>(context);
    if (gl == nullptr) return nullptr;
    // Resolving is cheap after the first time; it fails on a core profile.
    return gl->initializeOpenGLFunctions() ? gl : nullptr;
}
