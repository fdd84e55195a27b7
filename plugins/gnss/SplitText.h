#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mod04827 {

// When the CP932 form of source is longer than width bytes, keeps the longest
// whole-character prefix that fits in source and moves the rest to tail; a cut that
// would fall inside a double-byte character moves that character to the tail.
// Returns whether it cut.
bool SplitText(std::string& source, std::string& tail, std::size_t width);

// Cuts a user text into form lines: first at firstWidth, then at laterWidth, at most
// `cuts` times; the rest is the last line.
std::vector<std::string> CutFormLines(std::string text, std::size_t firstWidth, std::size_t laterWidth, int cuts);

}  // namespace mod04827
