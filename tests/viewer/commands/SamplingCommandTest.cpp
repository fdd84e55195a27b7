#include "CommandViewFixture.h"
#include "EditFixtures.h"

#include "viewer/commands/PointSampling.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/VurGridDlg.h"
#include "viewer/dialogs/VurOutRemoveDlg.h"
#include "viewer/dialogs/VurRadiusDlg.h"

#include <string>
#include <vector>

namespace {

using sampling::Filter;

using namespace editfixture;

struct Case {
    unsigned id;
    Filter filter;
    const char* dialog;
};

const Case kCases[] = {
    {32807, Filter::Grid, "VurGridDlg"},        {32808, Filter::GridMinZ, "VurGridDlg"},
    {32809, Filter::GridMaxZ, "VurGridDlg"},    {32812, Filter::Radius, "VurRadiusDlg"},
    {32813, Filter::Outlier, "VurOutRemoveDlg"},
};

class SamplingCommandTest : public CommandViewTest {
protected:
    void SetUp() override
    {
        CommandViewTest::SetUp();
        m_dialogs = std::make_unique<tessara::ScopedDialogScript>();
        AnswerUnlocked<VurGridDlg>(**m_dialogs, View(), [](VurGridDlg::Values&) { return tessara::IDOK; });
        AnswerUnlocked<VurRadiusDlg>(**m_dialogs, View(), [](VurRadiusDlg::Values&) { return tessara::IDOK; });
        AnswerUnlocked<VurOutRemoveDlg>(**m_dialogs, View(), [](VurOutRemoveDlg::Values& v) {
            v.neighbourCount = 5;
            return tessara::IDOK;
        });
        Fill(View().ModelStore());
        View().PushUndoSnapshot(0x03);
    }
    void TearDown() override
    {
        m_dialogs.reset();
        CommandViewTest::TearDown();
    }
    std::vector<std::string> BoxTexts() { return editfixture::BoxTexts(Boxes()); }

    std::unique_ptr<tessara::ScopedDialogScript> m_dialogs;
};

} // namespace

TEST_F(SamplingCommandTest, EachCommandThinsExactlyTheShownGroupsAndKeepsTheirNames)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.id);
        View().ModelStore().ClearGroups();
        Fill(View().ModelStore());
        // Hidden here by its group flag (the plain tests hide by the points flag).
        View().ModelStore().GetGroup(1)->m_nShowPCloud = 1;
        View().ModelStore().GetGroup(1)->m_nShowGroup = 0;
        Boxes().Clear();
        (*m_dialogs)->Clear();
        Boxes().QueueAnswer(tessara::IDOK);
        Boxes().QueueAnswer(tessara::IDOK);
        Run(c.id);

        CModelDataMng reference;
        Fill(reference);
        ASSERT_EQ(sampling::RunStoreFilter(reference, sampling::Params::FromSettings(View().Settings(), c.filter)), 1);
        const std::vector<int> counts = Counts(View().ModelStore());
        EXPECT_EQ(counts, Counts(reference));
        EXPECT_LT(counts[0], 103);
        EXPECT_EQ(counts[1], 103) << "hidden group untouched";
        EXPECT_LT(counts[2], 103);
        const char* names[] = {"a", "hidden", "c"};
        for (int i = 0; i < 3; ++i) {
            const CPCloudMng& g = *View().ModelStore().GetGroup(i);
            EXPECT_EQ(g.m_name, names[i]);
            EXPECT_EQ(g.m_memo, "memo");
            EXPECT_EQ(g.m_nColor, 0x123456u);
        }
        EXPECT_EQ(View().ModelStore().GetGroup(1)->m_nShowGroup, 0) << "a hidden group stays hidden";
        EXPECT_EQ(BoxTexts(), (std::vector<std::string>{sampling::kFirstQuestion, sampling::kSecondQuestion}));
        EXPECT_EQ((*m_dialogs)->Dialogs(), (std::vector<std::string>{c.dialog}));
        EXPECT_FALSE(View().CanUndo());
        EXPECT_EQ(View().LastStatusText(), sampling::kChooseNext);
    }
}

TEST_F(SamplingCommandTest, CancellingTheSecondQuestionChangesNothing)
{
    Boxes().QueueAnswer(tessara::IDOK);
    Boxes().QueueAnswer(tessara::IDCANCEL);
    Run(32807);
    EXPECT_EQ(Counts(View().ModelStore()), (std::vector<int>{103, 103, 103}));
    EXPECT_TRUE(View().CanUndo()) << "the undo lists stay";
    EXPECT_EQ(Boxes().Count(), 2u);
}

TEST_F(SamplingCommandTest, CancellingTheFirstQuestionOrTheDialogChangesNothing)
{
    Boxes().QueueAnswer(tessara::IDCANCEL);
    Run(32812);
    EXPECT_EQ(Boxes().Count(), 1u);
    AnswerUnlocked<VurGridDlg>(**m_dialogs, View(), [](VurGridDlg::Values&) { return tessara::IDCANCEL; });
    Run(32808);
    EXPECT_EQ(Boxes().Count(), 1u) << "no question after a cancelled dialog";
    EXPECT_EQ(Counts(View().ModelStore()), (std::vector<int>{103, 103, 103}));
    EXPECT_TRUE(View().CanUndo());
}

TEST_F(SamplingCommandTest, TheDialogsValuesAreKeptInTheSettings)
{
    AnswerUnlocked<VurGridDlg>(**m_dialogs, View(), [](VurGridDlg::Values& v) {
        v.cellM = {2.0, 3.0, 4.0};
        return tessara::IDOK;
    });
    Run(32809);
    EXPECT_EQ(View().Settings().highestCellM, (std::array<double, 3>{2.0, 3.0, 4.0}));
    EXPECT_EQ(View().Settings().gridCellM, (std::array<double, 3>{0.5, 0.5, 0.5}));
}
