// The binder's list-file test: a data file with the extension ".lst" (any case) is a
// list-file document, whose data file is backed up before it is replaced.
#include "hostfw/DocShelf.h"

#include <cctype>
#include <cstring>

extern "C" __attribute__((visibility("default"))) int IsListFileDocmet(const char* dataFilePath)
{
    if (!dataFilePath)
        return 0;
    const std::size_t length = std::strlen(dataFilePath);
    if (length < 4)
        return 0;
    const char* ext = dataFilePath + length - 4;
    return ext[0] == '.' && std::tolower(static_cast<unsigned char>(ext[1])) == 'l' &&
                   std::tolower(static_cast<unsigned char>(ext[2])) == 's' &&
                   std::tolower(static_cast<unsigned char>(ext[3])) == 't'
               ? 1
               : 0;
}
