#include "platform/MessageBox.h"

#include <gtest/gtest.h>

namespace tessara {
namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { m_previous = SetMessageBoxService(m_boxes); }
    void TearDown() override { SetMessageBoxService(m_previous); }

    std::shared_ptr<ScriptedMessageBoxes> m_boxes = std::make_shared<ScriptedMessageBoxes>();
    std::shared_ptr<MessageBoxService> m_previous;
};

TEST_F(MessageBoxTest, AnswersFromTheScriptAndRecordsWhatWasShown)
{
    m_boxes->QueueAnswer(IDNO);
    EXPECT_EQ(MessageBox("全データを削除しますか？", kDefaultMessageCaption, MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBox("処理が正常に行われました。"), IDOK);

    const auto shown = m_boxes->ShownBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "全データを削除しますか？");
    EXPECT_EQ(shown[0].flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(shown[0].answer, IDNO);
    EXPECT_EQ(shown[1].caption, "ORVANE SurfLook(Free)");
    EXPECT_EQ(shown[1].flags, MB_OK);
}

TEST_F(MessageBoxTest, UnscriptedQuestionsTakeTheHarmlessAnswer)
{
    EXPECT_EQ(MessageBox("q", "c", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox("q", "c", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBox("i", "c", MB_OK | MB_ICONWARNING), IDOK);
}

TEST(MessageBoxServiceTest, WithoutAnApplicationTheQtServiceDoesNotBlock)
{
    QtMessageBoxService service;
    EXPECT_EQ(service.Show("text", "caption", MB_YESNO, nullptr), IDNO);
}

} // namespace
} // namespace tessara
