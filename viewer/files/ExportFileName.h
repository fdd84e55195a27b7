#pragma once

// The export command's save dialog: the formats it offers, and the file a typed
// name stands for.

#include <string>
#include <vector>

namespace exportfile {

struct Filter {
    const char* label;      // as the dialog lists it
    const char* extension;  // with its dot, lower case
};

//! LAS, LAZ, XYZ and LandXML first, then the model file, SIMA and the bitmap.
const std::vector<Filter>& Filters();
//! The filter a name without a known extension gets when none was chosen.
inline constexpr int kDefaultFilter = 0;  // ".las"

//! True when the save dispatcher writes files with this extension (any case).
bool IsWrittenExtension(const std::string& path);
//! The path a typed name stands for: a relative name lies in folder (which ends
//! in '/'); a name whose extension none of the filters writes gets the chosen
//! filter's appended (the default's for an index out of range). Empty for an
//! empty name or one that ends in '/'.
std::string ResolvePath(const std::string& folder, const std::string& typed, int filterIndex);
//! The files a save to path would replace that exist now: path itself, or with
//! `numbered` (a save split into "name(1).ext", "name(2).ext", ...) every such
//! file of the folder.
std::vector<std::string> ExistingTargets(const std::string& path, bool numbered);
//! "[name] は既に存在します。\n上書きしますか？" with the file's name.
std::string OverwriteQuestion(const std::string& path);

}  // namespace exportfile
