#include "platform/Log.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace tessara {
namespace {

TEST(LogTest, LinesFromManyThreadsArriveWhole)
{
    std::vector<std::string> lines;
    const LogSink previous = SetLogSink([&](std::string_view line) { lines.emplace_back(line); });
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < 100; ++i) Log("writer %d line %d: %s", t, i, "done");
        });
    for (std::thread& w : writers) w.join();
    Log("%s", std::string(5000, 'x').c_str());
    SetLogSink(previous);
    ASSERT_EQ(lines.size(), 401u);
    for (std::size_t i = 0; i < 400; ++i) EXPECT_EQ(lines[i].substr(lines[i].size() - 6), ": done") << lines[i];
    EXPECT_EQ(lines.back().size(), 5000u) << "long lines are not cut";
}

} // namespace
} // namespace tessara
