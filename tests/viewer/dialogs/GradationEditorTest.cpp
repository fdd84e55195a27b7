#include "platform/MessageBox.h"
#include "viewer/dialogs/GradationEditor.h"

#include <Qt>

#include <gtest/gtest.h>

namespace {

class GradationEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = tessara::SetMessageBoxService(boxes);
        // A user setting at index 3: 255 white, 200 red, 128 green, 0 black.
        const int index = store.AddSetting(
            "mine", {{255, 0xFFFFFF}, {200, 0x0000FF}, {128, 0x00FF00}, {0, 0x000000}});
        editor.Select(index);
    }
    void TearDown() override { tessara::SetMessageBoxService(m_previous); }

    std::vector<int> Levels() const
    {
        std::vector<int> levels;
        for (const auto& stop : editor.Current()->stops)
            levels.push_back(stop.level);
        return levels;
    }
    std::string LastBox() const { return boxes->Count() ? boxes->ShownBoxes().back().text : std::string(); }

    std::shared_ptr<tessara::ScriptedMessageBoxes> boxes = std::make_shared<tessara::ScriptedMessageBoxes>();
    CGradationSetting store;
    GradationEditor editor{store};

private:
    std::shared_ptr<tessara::MessageBoxService> m_previous;
};

struct RelevelCase {
    const char* name;
    const char* text;
    GradationEditor::Result result;
    const char* message;
};

class Relevel : public GradationEditorTest, public ::testing::WithParamInterface<RelevelCase> {};

TEST_P(Relevel, RefusesBadOrDuplicateLevelsWithTheirMessage)
{
    const auto& c = GetParam();
    EXPECT_EQ(editor.Relevel(1, c.text), c.result);
    EXPECT_EQ(LastBox(), c.message);
    if (c.result != GradationEditor::Result::Changed) {
        EXPECT_EQ(Levels(), (std::vector<int>{255, 200, 128, 0}));
    }
}

using R = GradationEditor::Result;
INSTANTIATE_TEST_SUITE_P(
    Cases, Relevel,
    ::testing::Values(RelevelCase{"same", "200", R::Unchanged, ""},
                      RelevelCase{"duplicate", "128", R::Refused, "既に登録されている範囲は登録できません。"},
                      RelevelCase{"fixed_level", "0", R::Refused, "既に登録されている範囲は登録できません。"},
                      RelevelCase{"too_big", "300", R::Refused, "範囲は1～254の整数を入力してください。"},
                      RelevelCase{"letters", "12a", R::Refused, "範囲は1～254の整数を入力してください。"},
                      RelevelCase{"empty", "", R::Refused, "範囲は1～254の整数を入力してください。"},
                      RelevelCase{"overflow", "99999999999", R::Refused, "範囲は1～254の整数を入力してください。"},
                      RelevelCase{"moves_down", "10", R::Changed, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GradationEditorTest, RelevelSortsTheStops)
{
    EXPECT_EQ(editor.Relevel(1, "10"), GradationEditor::Result::Changed);
    EXPECT_EQ(Levels(), (std::vector<int>{255, 128, 10, 0}));
}

TEST_F(GradationEditorTest, FixedStopsKeepTheirLevelAndStay)
{
    EXPECT_FALSE(editor.CanEditLevel(0));
    EXPECT_EQ(LastBox(), "範囲：255は変更できません。");
    EXPECT_FALSE(editor.CanDeleteStop(3));
    EXPECT_FALSE(editor.DeleteStop(3));
    EXPECT_EQ(LastBox(), "範囲：0は削除できません。");
    EXPECT_TRUE(editor.CanDeleteStop(1));
    boxes->QueueAnswer(tessara::IDYES);
    EXPECT_TRUE(editor.DeleteStop(1));
    EXPECT_EQ(LastBox(), "範囲：200を削除しますか？");
    EXPECT_EQ(Levels(), (std::vector<int>{255, 128, 0}));
    EXPECT_EQ(editor.Current()->count, 3);
}

TEST_F(GradationEditorTest, AddingAStopAtAnExistingLevelIsRefused)
{
    for (int level : {0, 255, 128})
        EXPECT_EQ(editor.AddStop(level, 0x123456), std::nullopt) << level;
    EXPECT_EQ(LastBox(), "既に登録されている範囲は登録できません。");
    EXPECT_EQ(editor.AddStop(64, 0x123456), 3);
    EXPECT_EQ(Levels(), (std::vector<int>{255, 200, 128, 64, 0}));
}

TEST_F(GradationEditorTest, BuiltInSettingsRefuseEveryChangeButCanBeCopied)
{
    editor.Select(0);
    ASSERT_TRUE(editor.ReadOnly());
    const auto before = editor.Current()->stops.size();
    EXPECT_FALSE(editor.CanEditLevel(1));
    EXPECT_EQ(editor.Relevel(1, "100"), GradationEditor::Result::Refused);
    EXPECT_EQ(editor.AddStop(100, 0), std::nullopt);
    EXPECT_FALSE(editor.DeleteStop(1));
    EXPECT_FALSE(editor.SetStopColour(1, 0));
    EXPECT_FALSE(editor.DeleteCurrentSetting());
    EXPECT_EQ(editor.Current()->stops.size(), before);
    EXPECT_EQ(boxes->Count(), 0u);
    const auto copy = editor.Register("copy");
    ASSERT_TRUE(copy);
    EXPECT_FALSE(editor.ReadOnly());
    EXPECT_EQ(editor.Current()->stops.size(), before);
}

TEST_F(GradationEditorTest, RegistrationRefusesUserNamesAndReusesTheSmallestFreeId)
{
    EXPECT_EQ(editor.Register("mine"), std::nullopt);
    EXPECT_EQ(LastBox(), "[mine]は既に登録されています。");
    ASSERT_TRUE(editor.Register(store.m_settings[0].name));  // built-in names are not compared
    EXPECT_EQ(editor.Current()->id, 5);
    ASSERT_TRUE(editor.Register("b"));
    EXPECT_EQ(editor.Current()->id, 6);
    editor.Select(4);  // id 5
    boxes->QueueAnswer(tessara::IDYES);
    ASSERT_TRUE(editor.DeleteCurrentSetting());
    ASSERT_TRUE(editor.Register("c"));
    EXPECT_EQ(editor.Current()->id, 5);
}

TEST_F(GradationEditorTest, BarRunsFromWhiteThroughGreyToBlack)
{
    editor.Select(2);  // the built-in 255 white, 0 black
    EXPECT_EQ(editor.LevelColour(255.0), 0xFFFFFFu);
    EXPECT_EQ(editor.LevelColour(0.0), 0u);
    EXPECT_EQ(editor.LevelColour(127.5), 0x808080u);
}

TEST_F(GradationEditorTest, DamagedStopCountsAndMissingEndsNeverLeaveTheList)
{
    auto& s = store.m_settings[3];
    s.count = 99;
    s.stops = {{200, 0x0000FF}, {100, 0x00FF00}};
    EXPECT_EQ(editor.StopCount(), 2);
    EXPECT_EQ(editor.LevelColour(255.0), 0x0000FFu);
    EXPECT_EQ(editor.LevelColour(0.0), 0x00FF00u);
    EXPECT_EQ(editor.Stop(5), std::nullopt);
}

TEST(GradationNames, CutTo260Cp932BytesWithoutSplittingAndTrimmed)
{
    std::string typed;
    for (int i = 0; i < 131; ++i)
        typed += "亜";
    const std::string cut = GradationEditor::CutName(typed);
    EXPECT_EQ(cut.size(), 130u * 3u);
    EXPECT_EQ(GradationEditor::CutName("  name \t"), "name");
    EXPECT_EQ(GradationEditor::CutName("   "), "");
    EXPECT_EQ(GradationEditor::CutName("a" + typed).size(), 1u + 129u * 3u);
}

} // namespace

namespace {

struct LevelKeyCase {
    const char* name;
    int key;
    bool keypad;
    bool alt;
    GradationEditor::LevelKey start;
};

class LevelKeyTest : public ::testing::TestWithParam<LevelKeyCase> {};

TEST_P(LevelKeyTest, KeysUpToF1AndTheLettersPassTheRestStartTheEditor)
{
    EXPECT_EQ(GradationEditor::KeyStartsLevelEdit(GetParam().key, GetParam().keypad, GetParam().alt),
              GetParam().start);
}

using LK = GradationEditor::LevelKey;
INSTANTIATE_TEST_SUITE_P(
    Keys, LevelKeyTest,
    ::testing::Values(LevelKeyCase{"digit", Qt::Key_7, false, false, LK::Digit},
                      LevelKeyCase{"pad_digit", Qt::Key_0, true, false, LK::Digit},
                      LevelKeyCase{"f2", Qt::Key_F2, false, false, LK::Level},
                      LevelKeyCase{"f12", Qt::Key_F12, false, false, LK::Level},
                      LevelKeyCase{"comma", Qt::Key_Comma, false, false, LK::Level},
                      LevelKeyCase{"period", Qt::Key_Period, false, false, LK::Level},
                      LevelKeyCase{"minus", Qt::Key_Minus, false, false, LK::Level},
                      LevelKeyCase{"semicolon", Qt::Key_Semicolon, false, false, LK::Level},
                      LevelKeyCase{"colon", Qt::Key_Colon, false, false, LK::Level},
                      LevelKeyCase{"at", Qt::Key_At, false, false, LK::Level},
                      LevelKeyCase{"bracket", Qt::Key_BracketLeft, false, false, LK::Level},
                      LevelKeyCase{"slash", Qt::Key_Slash, false, false, LK::Level},
                      LevelKeyCase{"backslash", Qt::Key_Backslash, false, false, LK::Level},
                      LevelKeyCase{"apostrophe", Qt::Key_Apostrophe, false, false, LK::Level},
                      LevelKeyCase{"yen", Qt::Key_yen, false, false, LK::Level},
                      LevelKeyCase{"num_lock", Qt::Key_NumLock, false, false, LK::Level},
                      LevelKeyCase{"volume", Qt::Key_VolumeUp, false, false, LK::Level},
                      LevelKeyCase{"f1", Qt::Key_F1, false, false, LK::Pass},
                      LevelKeyCase{"letter", Qt::Key_A, false, false, LK::Pass},
                      LevelKeyCase{"space", Qt::Key_Space, false, false, LK::Pass},
                      LevelKeyCase{"escape", Qt::Key_Escape, false, false, LK::Pass},
                      LevelKeyCase{"tab", Qt::Key_Tab, false, false, LK::Pass},
                      LevelKeyCase{"arrow", Qt::Key_Down, false, false, LK::Pass},
                      LevelKeyCase{"delete", Qt::Key_Delete, false, false, LK::Pass},
                      LevelKeyCase{"shift", Qt::Key_Shift, false, false, LK::Pass},
                      LevelKeyCase{"pad_minus", Qt::Key_Minus, true, false, LK::Pass},
                      LevelKeyCase{"pad_period", Qt::Key_Period, true, false, LK::Pass},
                      LevelKeyCase{"pad_enter", Qt::Key_Enter, true, false, LK::Pass},
                      LevelKeyCase{"alt_comma", Qt::Key_Comma, false, true, LK::Pass}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
