#include "platform/MessageBoxService.h"

namespace tessara {

int UnattendedAnswer(unsigned flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    default:
        return IDOK;
    }
}

} // namespace tessara
