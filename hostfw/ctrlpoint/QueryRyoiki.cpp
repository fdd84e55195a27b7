#include "hostfw/ctrlpoint/QueryRyoiki.h"

#include <atomic>

namespace {
std::atomic<int> g_calls{0};
std::atomic<int> g_lastMode{0};
} // namespace

int QueryRyoiki(QWidget*, int mode)
{
    ++g_calls;
    g_lastMode = mode;
    return 1;
}

int QueryRyoikiCallCount()
{
    return g_calls;
}

int QueryRyoikiLastMode()
{
    return g_lastMode;
}
