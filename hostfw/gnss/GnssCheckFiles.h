#pragma once

#include "hostfw/HostTypes.h"

#include <string>
#include <vector>

// The known-point check files of a work, in the folder of the current conditions:
// "KZDTCHK<work>.DAT" with 48-byte records and "SHENCHK<work>.DAT" with 20-byte
// records. Both are CP932 fixed-width text:
//   48-byte record: point name (16 bytes, blank-padded), known ellipsoid height (16
//   bytes, decimal metres, right-aligned), 14 reserved bytes, CR LF.
//   20-byte record: point name (16 bytes), check result (2 bytes, decimal; 0 means the
//   point was left out of the check), CR LF.
HOSTFW_API std::string FilePathOfKzdtChk(long workNo);
HOSTFW_API std::string FilePathOfShenChk(long workNo);

struct KzdtChkRecord {
    std::string name;
    double knownHeight = 0.0;
};
struct ShenChkRecord {
    std::string name;
    int result = 0;
};

// Read results: a missing file is an empty one; a file that cannot be read, a record
// cut short or a field that is not a number is a failure.
enum class CheckFileStatus { Ok, Unreadable, Truncated, BadRecord };

HOSTFW_API CheckFileStatus ReadKzdtChk(const std::string& path, std::vector<KzdtChkRecord>& out);
HOSTFW_API CheckFileStatus ReadShenChk(const std::string& path, std::vector<ShenChkRecord>& out);
