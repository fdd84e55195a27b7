#include "outside/TJFONT.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<LN> g_strokes;

void Collect(const LN& ln)
{
    g_strokes.push_back(ln);
}

TEST(StrokeFontTest, DigitsBecomeStrokesWithinTheirCells)
{
    TJFONT font("/nonexistent-font-folder");
    ASSERT_TRUE(font.IsValid()); // the system's gothic face
    font.SetLineProc(Collect);
    font.SetSize(0.5);
    font.SetPos(10.0, 2.0);
    g_strokes.clear();
    EXPECT_EQ(font.String("10.0"), 4);
    ASSERT_GT(g_strokes.size(), 8u);
    // Half-width characters: each advances half the size.
    EXPECT_DOUBLE_EQ(font.GetPosX(), 10.0 + 4 * 0.25);
    for (const LN& s : g_strokes) {
        for (const PT& p : {s.Pt1, s.Pt2}) {
            EXPECT_GE(p.x(), 10.0 - 1e-9);
            EXPECT_LE(p.x(), 11.0 + 1e-9);
            EXPECT_GE(p.y(), 2.0 - 1e-9);
            EXPECT_LE(p.y(), 2.5 + 1e-9);
            EXPECT_EQ(p.z(), 0.0);
        }
    }
}

TEST(StrokeFontTest, FullWidthAdvanceAndNoProcedure)
{
    TJFONT font("");
    font.SetSize(2.0);
    EXPECT_EQ(font.String("標高"), 2); // nothing collected: no procedure set
    EXPECT_DOUBLE_EQ(font.GetPosX(), 4.0);
    font.SetSize(-1.0); // refused
    EXPECT_EQ(font.GetSize(), 2.0);
    g_strokes.clear();
    font.SetLineProc(Collect);
    EXPECT_EQ(font.String(std::string("\xff", 1)), 1); // invalid UTF-8 is one character
    EXPECT_EQ(font.String(""), 0);
}

} // namespace
