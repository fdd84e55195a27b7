#pragma once

#include "platform/gltest/GlTestContext.h"

#include <gtest/gtest.h>
#include <memory>

namespace tessara {

// GoogleTest fixture: every test starts with a fresh context current (see
// GlTestContext) and fails at once when there is none.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    GlTestContext& Gl() { return *m_gl; }

private:
    std::unique_ptr<GlTestContext> m_gl;
};

} // namespace tessara
