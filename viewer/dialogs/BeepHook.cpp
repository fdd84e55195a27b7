#include "viewer/dialogs/BeepHook.h"

#include <QApplication>

namespace {
std::function<void()>& Slot()
{
    static std::function<void()> fn;
    return fn;
}
} // namespace

void BeepHook::Beep()
{
    if (Slot())
        Slot()();
    else
        QApplication::beep();
}

std::function<void()> BeepHook::Set(std::function<void()> fn)
{
    std::swap(Slot(), fn);
    return fn;
}
