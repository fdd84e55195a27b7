#include "outside/LINE.h"

bool LINE::IsValid() const
{
    return m_ln.Length() > 0.0;
}
