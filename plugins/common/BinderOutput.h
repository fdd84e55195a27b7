#pragma once

#include "hostfw/PartRecord.h"

#include <string>

class VCabinetDocTable;

namespace plugcommon {

// Copies the written output over the binder file through a sibling temp file and a
// rename, so a failed copy never destroys the binder file; clears a read-only target
// attribute. 1 on success, 0 after a message (write protect, disk full, other).
int CopyOutputFromTemp(const std::string& source, const std::string& target);
// Backs up a binder document's data file before it is replaced when it is a list-file
// document; 1 when backed up or no backup is needed, 0 after a message.
int BackupDataFile(VCabinetDocTable& table, const FieldValue& documentId);
// The message of a failed copy by its system error: write protect (EROFS, EACCES,
// EPERM), disk full (ENOSPC, EDQUOT), or any other with the error number.
std::string CopyFailureMessage(int error, const std::string& source, const std::string& target);
// True for an empty variant and for the long 0.
bool IsVariantBlank(const FieldValue& value);

} // namespace plugcommon
