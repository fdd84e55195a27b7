#pragma once

#include <gtest/gtest.h>

#include "tests/plugins/PluginTestFixtures.h"

namespace mod00963 {

using plugtest::ReadBytes;
using plugtest::SourceDir;

// One seeded part system of examples/levelling as the host's current one, with the
// message boxes recorded (answered by the queue, else OK).
class LevellingHostTest : public plugtest::SeededHostTest {
protected:
    void Seed(const std::string& fixture) { SeedWithPart("levelling", "levelling-host", fixture); }
};

} // namespace mod00963
