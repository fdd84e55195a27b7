#pragma once

#include <QOpenGLFunctions_3_0>

// The GL entry points the scene passes use: the fixed-function pipeline of the
// compatibility profile, buffer objects and framebuffer blits. Taken from the
// current context, never from a global.
using GlFunctions = QOpenGLFunctions_3_0;

//! The entry points of the current context, or null when no context is current
//! or it cannot give them (a core profile, GL below 3.0).
GlFunctions* CurrentGlFunctions();
