#pragma once

#include <cstddef>
#include <optional>
#include <string>

class PipeMessage;

// A path field of the record as UTF-8: nothing when the field has no terminator
// or is not CP932.
std::optional<std::string> PipePathAt(const PipeMessage& message, std::size_t offset);
// Stores a UTF-8 path as CP932; false (field untouched) when it cannot be
// encoded or needs more than 259 bytes: a path is refused, never cut.
bool SetPipePathAt(PipeMessage& message, std::size_t offset, const std::string& utf8);
