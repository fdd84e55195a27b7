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
    void Seed(const std::string& fixture)
    {
        SeedHost("levelling", "levelling-host", fixture);
        if (HasFatalFailure())
            return;
        CVApp::Instance().EnableCmdMsgBox(true);
        RecordMessages(true);
        ASSERT_TRUE(GetCurrentPartSystem()->LoadPart(1, m_part));
    }

    PartData m_part;
};

} // namespace mod00963
