#pragma once

#include "hostfw/HostTypes.h"
#include "hostfw/PartRecord.h"

#include <string>

// The binder information record the output-file chooser fills: the system number
// (a variant; 998 for the binder) and the cabinet and folder the user chose.
struct HOSTFW_API CABINFO {
    FieldValue systemNo;
    std::string cabinet;
    std::string folder;
};

// A binder document's information texts.
struct HOSTFW_API INFO {
    std::string text1;
    std::string text2;
};
