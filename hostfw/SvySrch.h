#pragma once

#include "hostfw/HostTypes.h"

#include <vector>

class QWidget;

// The host's part search: the parts of the current part system whose program passes
// the code test, at most limit of them, in address order. SvySrchExtract takes all of
// them; SvySrchSelectList lets the user pick (scripted: all).
using SvyCodeTest = int (*)(DWORD address, WORD programNo, const short* programList);
HOSTFW_API std::vector<DWORD> SvySrchExtract(QWidget* owner, SvyCodeTest test,
                                             const short* programList, int limit, void* a, void* b);
HOSTFW_API std::vector<DWORD> SvySrchSelectList(QWidget* owner, SvyCodeTest test,
                                                const short* programList, int limit, void* a,
                                                void* b);
