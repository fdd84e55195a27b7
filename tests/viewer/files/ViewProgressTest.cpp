#include "viewer/files/ViewProgress.h"

#include <gtest/gtest.h>

struct AnswerCase {
    int promptOpen, abortRequested, answer;
};

class ViewProgressAnswerTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(ViewProgressAnswerTest, AbortWinsOverTheOpenQuestion)
{
    EXPECT_EQ(ViewProgress::Answer(GetParam().promptOpen, GetParam().abortRequested), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Flags, ViewProgressAnswerTest,
                         ::testing::Values(AnswerCase{0, 0, 0}, AnswerCase{1, 0, -1}, AnswerCase{0, 1, -2},
                                           AnswerCase{1, 1, -2}));

TEST(ViewProgressTest, LoadProgressTable)
{
    EXPECT_FALSE(ViewProgress::LoadProgress(5, 0).act);
    EXPECT_FALSE(ViewProgress::LoadProgress(5, -3).act);

    const auto done = ViewProgress::LoadProgress(7, 7);
    EXPECT_TRUE(done.endProgress);
    EXPECT_EQ(done.status, "描画準備中です。");

    const auto small = ViewProgress::LoadProgress(500, 999999);
    EXPECT_FALSE(small.endProgress);
    EXPECT_EQ(small.maximum, 0u) << "fewer than a million points give a maximum of 0";
    EXPECT_EQ(small.status, "点群を読み込んでいます。(500/999999)");

    const auto big = ViewProgress::LoadProgress(2500000, 10000000);
    EXPECT_EQ(big.maximum, 10u);
    EXPECT_EQ(big.position, 2u);
}

TEST(ViewProgressTest, FinishedTexts)
{
    EXPECT_EQ(*ViewProgress::LoadFinishedText(-1), "データの読み込みに失敗しました。");
    EXPECT_FALSE(ViewProgress::LoadFinishedText(-2).has_value());
    EXPECT_EQ(*ViewProgress::LoadFinishedText(0), "処理を終了しました（データの読み込み)");
    EXPECT_EQ(*ViewProgress::LandXmlFinishedText(-1), "LandXMLファイルの読み込みに失敗しました。");
    EXPECT_FALSE(ViewProgress::LandXmlFinishedText(-2).has_value());
    EXPECT_EQ(*ViewProgress::LandXmlFinishedText(3), "処理を終了しました（LandXMLファイル）");
}
