#pragma once

#include <string>

class PartData;
class PartSystem;

namespace plugcommon {

// The outcome of a calculation through the host's command-message box (nothing when
// the host has none): the part's title, then "処理が正常に行われました。" or the error
// message. The title joins the report name and the program name with a space, in the
// order the plug-in prints them. The program name comes from the part system handle,
// the current one when null.
enum class TitleOrder { ProgramFirst, ReportFirst };
void ReportCalcOutcome(const PartData& data, TitleOrder order, bool ok, const std::string& errorMessage,
                       PartSystem* handle = nullptr);

} // namespace plugcommon
