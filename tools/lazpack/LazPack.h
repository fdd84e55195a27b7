#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The viewer's LAZ compressor: reads a LAS 1.2 file of point format 2 and writes
// its LAZ form, readable by standard LAZ decoders: the same header with the
// compression bit set on the point format and a LASzip record added, then the
// points in chunks (50,000 points each, every chunk starting with a raw point and
// coded on its own), then a table of the chunks' byte counts. Points are coded with
// the version 2 coders of the point and colour items on the arithmetic coder.
//
// Any other input (another version or point format, a broken header or record
// chain, a size that does not match the point count) is refused. The LAZ file is
// written beside the target and renamed over it only when complete; on any error
// nothing is left and the old target stays.
namespace lazpack {

inline constexpr std::uint32_t kChunkPoints = 50000;
inline constexpr std::size_t kLasRecordBytes = 26;
inline constexpr std::size_t kLasHeaderBytes = 227;
inline constexpr std::uint16_t kLaszipRecordId = 22204;

//! Compresses `count` (at least 1) consecutive 26-byte records into one chunk,
//! appended to `out`.
void CompressChunk(const std::uint8_t* records, std::size_t count, std::vector<std::uint8_t>& out);

//! The chunk table: version 0, the number of chunks, then their byte counts coded
//! each against the one before.
std::vector<std::uint8_t> ChunkTable(const std::vector<std::uint64_t>& chunkBytes);

//! False with `error` set when the input is refused or the output cannot be written.
//! `chunkPoints` other than the standard size are for tests.
bool CompressLasFile(const std::string& lasPath, const std::string& lazPath, std::string& error,
                     std::uint32_t chunkPoints = kChunkPoints);

} // namespace lazpack
