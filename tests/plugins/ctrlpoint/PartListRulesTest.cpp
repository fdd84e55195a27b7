#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "plugins/ctrlpoint/BoardImport.h"
#include "plugins/ctrlpoint/PartAdmission.h"
#include "plugins/ctrlpoint/PositionalLock.h"

namespace mod00519 {
namespace {

// Parts: 1 → 628 grade 2, 2 → 631 grade 3, 3 → 628 unreadable, 4 → 681, 5 → 684 grade 2,
// 6 → 687 grade 2, 7 → 622 grade 2, 8 → 625 grade 2, 9 → 452.
AdmissionFacts Facts(std::optional<short> tableGrade, std::vector<PartAddress> handbooks = {})
{
    static const std::map<PartAddress, int> programs = {{1, 628}, {2, 631}, {3, 628}, {4, 681}, {5, 684},
                                                        {6, 687}, {7, 622}, {8, 625}, {9, 452}};
    static const std::map<PartAddress, short> grades = {{1, 2}, {2, 3}, {5, 2}, {6, 2}, {7, 2}, {8, 2}};
    AdmissionFacts f;
    f.programOf = [](PartAddress a) { const auto it = programs.find(a); return it == programs.end() ? 0 : it->second; };
    f.gradeOf = [](int, PartAddress a) -> std::optional<short> {
        const auto it = grades.find(a);
        if (it == grades.end())
            return std::nullopt;
        return it->second;
    };
    f.tableGrade = tableGrade;
    f.inHandbookList = [handbooks](PartAddress a) {
        return std::find(handbooks.begin(), handbooks.end(), a) != handbooks.end();
    };
    return f;
}

struct AdmitCase {
    const char* name;
    PartListKind list;
    PartAddress part;
    bool admitted;
    friend void PrintTo(const AdmitCase& c, std::ostream* os) { *os << c.name; }
};

class AdmissionTest : public ::testing::TestWithParam<AdmitCase> {};

TEST_P(AdmissionTest, AdmitsRightProgramAndGradeOnly)
{
    EXPECT_EQ(PartAdmission::Admit(GetParam().list, GetParam().part, Facts(2, {4})), GetParam().admitted);
}

INSTANTIATE_TEST_SUITE_P(Cases, AdmissionTest, ::testing::Values(
    AdmitCase{"strictGrade", PartListKind::Strict, 1, true},
    AdmitCase{"strictOtherGrade", PartListKind::Strict, 2, false},
    AdmitCase{"strictUnreadable", PartListKind::Strict, 3, false},
    AdmitCase{"strictOtherProgram", PartListKind::Strict, 5, false},
    AdmitCase{"arbitrary622", PartListKind::Arbitrary, 7, true},
    AdmitCase{"single625", PartListKind::SingleRoute, 8, true},
    AdmitCase{"checkCalc684", PartListKind::CheckCalc, 5, true},
    AdmitCase{"checkCalc687", PartListKind::CheckCalc, 6, true},
    AdmitCase{"checkCalcStrictPart", PartListKind::CheckCalc, 1, false},
    AdmitCase{"handbookDuplicate", PartListKind::CheckSurvey, 4, false},
    AdmitCase{"handbookNot681", PartListKind::CheckSurvey, 9, false},
    AdmitCase{"addressZero", PartListKind::CheckCalc, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AdmissionTest, NewHandbookEntersAndUnreadableTableGradeRefusesAll)
{
    EXPECT_TRUE(PartAdmission::Admit(PartListKind::CheckSurvey, 4, Facts(2)));
    EXPECT_FALSE(PartAdmission::Admit(PartListKind::Strict, 1, Facts(std::nullopt)));
}

TEST(BoardImportTest, EveryNewAddressEntersOnceAndListGrows)
{
    const std::vector<Board> boards = {{96, 11}, {96, 12}, {96, 11}, {96, 13}, {0x30001, 5}, {70, 14}, {96, 15}};
    const auto admit = [](std::uint32_t a) { return a != 15; };
    const std::vector<std::uint32_t> added = BoardImport::Collect(boards, {12}, admit, admit);
    EXPECT_EQ(added, (std::vector<std::uint32_t>{11, 13, 0x80000005u}));

    std::vector<std::uint32_t> column = {12, 0};
    BoardImport::Place(column, 0, added);
    EXPECT_EQ(column, (std::vector<std::uint32_t>{12, 11, 13, 0x80000005u}));
    // A second import of the same boards adds nothing.
    EXPECT_TRUE(BoardImport::Collect(boards, column, admit, admit).empty());
}

TEST(BoardImportTest, CellCodesNameTheBoardsTheyTake)
{
    const std::pair<std::uint32_t, int> cases[] = {
        {0x0460301u, 0x30001}, {0x2460309u, 0x30001}, {0x41F0003u, 96}, {0x0236010Cu, 96},
        {0x0560000u, 66},      {0x0960000u, 65},      {0x0A60000u, 70}, {0x0B60000u, 69},
        {0x0FFF0D0Cu, 0},      {0x03D0000u, 0},       {0x0160000u, 0},
    };
    for (const auto& [code, board] : cases)
        EXPECT_EQ(BoardImport::CellBoardCode(code), board) << std::hex << code;
}

TEST(PositionalLockTest, GeneratedTextsLockWhileTheirSwitchIsAutomatic)
{
    const std::array<short, 5> automatic{};
    const std::array<short, 5> manualC{0, 0, 1, 0, 0};
    for (const std::uint32_t item : {0u, 1u, 3u, 4u, 6u})
        EXPECT_TRUE(PositionalLock::IsGeneratedCellLocked(kPagePositional, (item << 28) | kCellTextBase, automatic));
    for (const std::uint32_t item : {2u, 5u, 7u, 8u, 9u})
        EXPECT_FALSE(PositionalLock::IsGeneratedCellLocked(kPagePositional, (item << 28) | kCellTextBase, automatic));
    EXPECT_FALSE(PositionalLock::IsGeneratedCellLocked(kPagePositional, 0x3FFF0D0Cu, manualC));
    EXPECT_FALSE(PositionalLock::IsGeneratedCellLocked(3, 0x0FFF0D0Cu, automatic));
    EXPECT_EQ(PositionalLock::SwitchCellCode(2), kCellAbsoluteResultSwitch);
    EXPECT_EQ(PositionalLock::SwitchCellCode(4), 0x41C4046Eu);
}

} // namespace
} // namespace mod00519
