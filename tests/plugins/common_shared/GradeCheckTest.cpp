#include <gtest/gtest.h>

#include "plugins/common/GradeCheck.h"

namespace plugcommon {
namespace {

TEST(GradeCheckTest, RemembersThePartsGradeNotOne)
{
    GradeCheck check;
    check.Remember(3);   // a grade-3 part with networks chosen
    int asked = 0;
    const auto no = [&] { ++asked; return false; };
    EXPECT_EQ(check.Apply(1, true, no), GradeCheck::Outcome::Restored);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(check.Remembered(), 3);   // No writes 3 back, not 1
    EXPECT_EQ(check.Apply(3, true, no), GradeCheck::Outcome::Unchanged);
    EXPECT_EQ(asked, 1);
}

TEST(GradeCheckTest, SilentWithoutChosenPartsAndClearsOnYes)
{
    GradeCheck check;
    check.Remember(2);
    EXPECT_EQ(check.Apply(4, false, nullptr), GradeCheck::Outcome::Changed);
    EXPECT_EQ(check.Remembered(), 4);
    EXPECT_EQ(check.Apply(1, true, [] { return true; }), GradeCheck::Outcome::ChangedClearing);
    EXPECT_EQ(check.Remembered(), 1);
}

} // namespace
} // namespace plugcommon
