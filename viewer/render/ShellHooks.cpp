#include "viewer/render/ShellHooks.h"

ShellHooks& ShellHooks::Instance()
{
    static ShellHooks hooks;
    return hooks;
}
