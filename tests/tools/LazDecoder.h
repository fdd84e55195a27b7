#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The tests' own LAZ reader, for LAS 1.2 point format 2 files with the point and
// colour items of version 2 in point-wise chunks: it follows the chunk table,
// decodes every chunk within its bytes and hands back the header as stored and the
// 26-byte records.
namespace laztest {

struct LazFile {
    std::vector<std::uint8_t> header;       // the public header block as stored
    std::uint32_t pointCount = 0;
    std::uint32_t chunkSize = 0;            // from the compression record
    std::uint32_t chunkCount = 0;           // from the chunk table
    std::vector<std::uint8_t> records;      // pointCount x 26 bytes
};

//! False with `error` set on anything it does not understand or that is broken.
bool ReadLaz(const std::string& path, LazFile& laz, std::string& error);

} // namespace laztest
