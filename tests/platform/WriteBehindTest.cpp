#include "platform/WriteBehind.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace {

struct PipelineRun {
    std::size_t blockBytes;   // block size
    std::size_t depth;        // blocks at once
    std::size_t records;      // 3-byte records produced
    int failAtWrite;          // the write that fails (-1: none)
    int throwAtRecord;        // the record whose making throws (-1: none)
    bool expectOk;
};

class WriteBehindTest : public ::testing::TestWithParam<PipelineRun> {};

// Every byte arrives once and in order, with any block size and depth; a failing
// write or a producer that throws or answers false makes the whole run fail.
TEST_P(WriteBehindTest, WritesEveryByteInOrderOrReportsTheFailure)
{
    const PipelineRun& run = GetParam();
    std::string expected;
    std::string written;
    int writes = 0;
    const auto produce = [&](tessara::BlockSink& sink) {
        for (std::size_t i = 0; i < run.records; ++i) {
            if (static_cast<int>(i) == run.throwAtRecord) throw std::bad_alloc();
            if (sink.Failed()) return true;
            unsigned char* p = sink.Append(3);
            for (int k = 0; k < 3; ++k) {
                p[k] = static_cast<unsigned char>((i * 7 + std::size_t(k)) & 0xFF);
                expected.push_back(static_cast<char>(p[k]));
            }
        }
        return true;
    };
    const bool ok = tessara::WriteBehind(
        run.blockBytes, produce,
        [&](const unsigned char* data, std::size_t size) {
            if (writes++ == run.failAtWrite) return false;
            written.append(reinterpret_cast<const char*>(data), size);
            return true;
        },
        run.depth);
    EXPECT_EQ(ok, run.expectOk);
    if (run.expectOk) {
        EXPECT_EQ(written, expected);
    } else {
        EXPECT_EQ(expected.compare(0, written.size(), written), 0) << "what was written is a prefix";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WriteBehindTest,
                         ::testing::Values(PipelineRun{3, 2, 0, -1, -1, true},          // nothing to write
                                           PipelineRun{3, 2, 1, -1, -1, true},          // one record
                                           PipelineRun{4, 2, 1000, -1, -1, true},       // blocks not a multiple of records
                                           PipelineRun{30, 2, 100000, -1, -1, true},    // depth 2
                                           PipelineRun{300, 8, 100000, -1, -1, true},   // deeper
                                           PipelineRun{300, 1, 10000, -1, -1, true},    // depth below 2 taken as 2
                                           PipelineRun{30, 3, 10000, 5, -1, false},     // a write fails
                                           PipelineRun{30, 3, 10000, 0, -1, false},     // the first write fails
                                           PipelineRun{30, 3, 10000, -1, 500, false})); // the producer throws

TEST(WriteBehindFalseTest, AProducerAnsweringFalseFailsTheRun)
{
    std::size_t bytes = 0;
    const bool ok = tessara::WriteBehind(
        16,
        [](tessara::BlockSink& sink) {
            sink.Append(10);
            return false;
        },
        [&](const unsigned char*, std::size_t size) {
            bytes += size;
            return true;
        });
    EXPECT_FALSE(ok);
}

} // namespace
