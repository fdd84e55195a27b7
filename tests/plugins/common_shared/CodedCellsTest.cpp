#include <gtest/gtest.h>

#include "plugins/common/CodedCells.h"
#include "plugins/common/PartListCommands.h"
#include "plugins/common/PartListFilter.h"
#include "plugins/common/TableDialogFrame.h"

namespace plugcommon {
namespace {

struct Entry {
    const CodedList* list;
    const char* typed;
    std::optional<short> value;
};

class CodedEntryTest : public ::testing::TestWithParam<Entry> {};

// A typed entry is a name of the list or the number of a value it holds; anything else
// (out of range, too long for a short, another list's name, a fraction) is refused.
TEST_P(CodedEntryTest, NameOrNumberOfAHeldValue)
{
    EXPECT_EQ(GetParam().list->ValueOf(GetParam().typed), GetParam().value) << GetParam().typed;
}

INSTANTIATE_TEST_SUITE_P(Lists, CodedEntryTest, ::testing::Values(
    Entry{&CoordinateSystemList(), "9", 9},
    Entry{&CoordinateSystemList(), " 19 ", 19},
    Entry{&CoordinateSystemList(), "平面直角座標系 ⅩⅨ系", 19},
    Entry{&CoordinateSystemList(), "-3", std::nullopt},
    Entry{&CoordinateSystemList(), "0", std::nullopt},
    Entry{&CoordinateSystemList(), "20", std::nullopt},
    Entry{&CoordinateSystemList(), "99999999999", std::nullopt},
    Entry{&CoordinateSystemList(), "65545", std::nullopt},   // 9 once cut to a short
    Entry{&CoordinateSystemList(), "9.0", std::nullopt},
    Entry{&CoordinateSystemList(), "", std::nullopt},
    Entry{&LevellingGradeList(), "5", 5},
    Entry{&LevellingGradeList(), "簡易水準測量", 5},
    Entry{&LevellingGradeList(), "9", std::nullopt},
    Entry{&ControlPointGradeList(), "4級基準点", 4},
    Entry{&ControlPointGradeList(), "5", std::nullopt},
    Entry{&ControlPointGradeList(), "1級水準測量", std::nullopt},
    Entry{&NetworkKindList(), "単路線", 2},
    Entry{&NetworkKindList(), "3", std::nullopt},
    Entry{&GnssSurveyKindList(), "0", 0},
    Entry{&GnssSurveyKindList(), "標高測量(４級)", 3},
    Entry{&GnssSurveyKindList(), "4", std::nullopt}));

TEST(CodedCellsTest, NamesAreThoseTheFormsPrint)
{
    EXPECT_EQ(CoordinateSystemList().NameOf(9), "平面直角座標系 Ⅸ系");
    EXPECT_EQ(CoordinateSystemList().NameOf(11), "平面直角座標系 ⅩⅠ系");
    EXPECT_EQ(CoordinateSystemList().Values().size(), 19u);
    EXPECT_EQ(ControlPointGradeList().NameOf(1), "1級基準点");
    EXPECT_EQ(LevellingGradeList().Values().size(), 5u);
    const CodedCells cells({{{0, 0x100u}, &CoordinateSystemList()}});
    std::string text = "9";
    cells.ShowName(0, 0x100u, text);
    EXPECT_EQ(text, "平面直角座標系 Ⅸ系");
    text = "0";   // a stored value outside the list stays what it is
    cells.ShowName(0, 0x100u, text);
    EXPECT_EQ(text, "0");
    text = "9";   // another page's cell of the same code is not coded
    cells.ShowName(1, 0x100u, text);
    EXPECT_EQ(text, "9");
}

struct CommandCase {
    int id;
    PartListCommandState state;
    bool enabled;
};

class CommandEnablingTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandEnablingTest, FollowsTheCurrentList)
{
    EXPECT_EQ(PartListCommands::IsEnabled(GetParam().id, GetParam().state), GetParam().enabled);
}

constexpr PartListCommandState kNoList{};
constexpr PartListCommandState kList{true, true, false, false};
constexpr PartListCommandState kBoardList{true, true, true, false};
constexpr PartListCommandState kGreyList{true, false, true, false};
constexpr PartListCommandState kReadOnly{true, true, true, true};

INSTANTIATE_TEST_SUITE_P(Commands, CommandEnablingTest, ::testing::Values(
    CommandCase{TableDialogFrame::kCmdSearchExtract, kNoList, false},
    CommandCase{TableDialogFrame::kCmdSearchSelect, kList, true},
    CommandCase{TableDialogFrame::kCmdClearList, kGreyList, false},
    CommandCase{TableDialogFrame::kCmdClearList, kReadOnly, false},
    CommandCase{PartListCommands::kCmdBoardImport, kList, false},
    CommandCase{PartListCommands::kCmdBoardImport, kBoardList, true},
    CommandCase{PartListCommands::kCmdBoardImport, kReadOnly, false},
    CommandCase{TableDialogFrame::kCmdQueryArea, kNoList, true}));

TEST(PartRefusalTest, SaysWhyThePartCannotEnter)
{
    PartRefusal program;
    program.reason = PartRefusal::Reason::Program;
    program.program = 684;
    program.wanted = {628};
    EXPECT_EQ(RefusalText(60, program),
              "パート60（プログラム684）はこの欄に指定できません。\nこの欄に指定できるのはプログラム628のパートです。");
    PartRefusal grade;
    grade.reason = PartRefusal::Reason::Grade;
    grade.partGrade = 1;
    grade.tableGrade = 2;
    EXPECT_EQ(RefusalText(52, grade), "パート52の等級区分（1）が品質評価表の等級区分（2）と一致しません。");
    PartRefusal missing;
    missing.reason = PartRefusal::Reason::Missing;
    EXPECT_EQ(RefusalText(999, missing), "パート999はありません。");
    EXPECT_FALSE(PartRefusal{}.Refused());
}

} // namespace
} // namespace plugcommon
