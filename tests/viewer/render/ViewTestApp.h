#pragma once

#include <functional>
#include <memory>

class QApplication;

namespace tessara {
class ScriptedMessageBoxes;
}

// The one QApplication of a view test program, made with the view's GL format, a
// profile in memory (the user's real profile is never touched), private runtime
// and config folders, and scripted message boxes.
QApplication& EnsureViewTestApp();
tessara::ScriptedMessageBoxes& ScriptedBoxes();
//! Runs events until done() is true or timeoutMs passed; returns done(). The default
//! limit is one only a hang reaches, never a guess at how fast the machine is.
bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 60000);
