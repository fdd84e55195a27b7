#include "platform/gltest/GlTest.h"

namespace tessara {

void GlTest::SetUp()
{
    m_gl = std::make_unique<GlTestContext>();
    ASSERT_TRUE(m_gl->Valid()) << m_gl->Error();
}

void GlTest::TearDown()
{
    m_gl.reset();
}

} // namespace tessara
