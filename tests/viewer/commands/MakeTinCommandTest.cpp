#include "CommandViewFixture.h"

#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/MakeTinDlg.h"

namespace {

constexpr unsigned kMakeTin = 32820;

class MakeTinCommandTest : public CommandViewTest {
protected:
    void SetUp() override
    {
        CommandViewTest::SetUp();
        m_dialogs = std::make_unique<tessara::ScopedDialogScript>();
        AnswerUnlocked<MakeTinDlg>(**m_dialogs, View(), [](MakeTinDlg::Values&) { return tessara::IDOK; });
    }
    void TearDown() override
    {
        m_dialogs.reset();
        CommandViewTest::TearDown();
    }
    // A side x side grid on a slope rising 0.5 per metre eastwards.
    void AddSlope(int side, float x0)
    {
        auto g = std::make_unique<CPCloudMng>();
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j)
                g->AddCloudPoint(x0 + static_cast<float>(i), static_cast<float>(j), 0.5f * static_cast<float>(i), 0, 0.0);
        g->m_nDataFlag = 1;
        g->CreateGrid();
        View().ModelStore().AddGroup(std::move(g));
    }
    CModelDataMng& Store() { return View().ModelStore(); }
    std::vector<std::string> BoxTexts()
    {
        std::vector<std::string> texts;
        for (const auto& b : Boxes().ShownBoxes())
            texts.push_back(b.text);
        return texts;
    }

    std::unique_ptr<tessara::ScopedDialogScript> m_dialogs;
};

} // namespace

TEST_F(MakeTinCommandTest, WholeCloudsEachGetATinAndTheCountIsReported)
{
    AddSlope(5, 0.0f);
    AddSlope(4, 100.0f);
    View().Settings().tinPictureMode = 0;
    Run(kMakeTin);
    // 5 x 5 points give 32 triangles, 4 x 4 give 18.
    EXPECT_EQ(Store().GetGroup(0)->GetTriangleCount(), 32);
    EXPECT_EQ(Store().GetGroup(1)->GetTriangleCount(), 18);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"三角数[50]のTINを作成しました "}));
    EXPECT_EQ(View().Settings().tinPictureMode, 1);
    EXPECT_EQ(View().LastStatusText(), "処理完了（TIN生成）");
    EXPECT_TRUE(View().CanUndo());
    EXPECT_EQ((*m_dialogs)->Dialogs(), (std::vector<std::string>{"MakeTinDlg"}));
}

TEST_F(MakeTinCommandTest, ACloudAboveTheLimitIsSampledOnlyWhenTheUserAgrees)
{
    View().Settings().tinPointLimit = 1;  // 10,000 points
    AddSlope(120, 0.0f);                  // 14,400 points
    AddSlope(4, 200.0f);

    Boxes().QueueAnswer(tessara::IDNO);
    Run(kMakeTin);
    EXPECT_EQ(Store().GetGroup(0)->GetCloudPointSize(), 14400);
    EXPECT_EQ(Store().GetGroup(0)->GetTriangleCount(), 0);
    EXPECT_EQ(Store().GetGroup(1)->GetTriangleCount(), 0) << "the run stops at the refused cloud";
    EXPECT_FALSE(View().CanUndo());

    Boxes().Clear();
    Boxes().QueueAnswer(tessara::IDYES);
    Run(kMakeTin);
    EXPECT_LE(Store().GetGroup(0)->GetCloudPointSize(), 10000);
    EXPECT_GT(Store().GetGroup(0)->GetTriangleCount(), 0);
    EXPECT_EQ(Store().GetGroup(1)->GetCloudPointSize(), 16) << "only the large cloud is thinned";
    EXPECT_EQ(Store().GetGroup(1)->GetTriangleCount(), 18);
    EXPECT_TRUE(View().CanUndo());
}

TEST_F(MakeTinCommandTest, ASelectionAboveTheLimitIsRefusedWithTheLimit)
{
    View().Settings().tinPointLimit = 1;
    AddSlope(101, 0.0f);  // 10,201 points
    SelPCloud all{0, {}};
    for (std::uint64_t i = 0; i < 10001; ++i)
        all.points.push_back(i);
    View().BuffersState().pickBuckets = {all};
    Run(kMakeTin);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0],
              "選択点群数が10000点以上あるため実行できません\n選択点群の数を減らしてから実行してください。");
    EXPECT_EQ(Store().GetGroup(0)->GetTriangleCount(), 0);
}

TEST_F(MakeTinCommandTest, ASelectionInOneShownGroupMeshesExactlyThosePoints)
{
    AddSlope(5, 0.0f);
    auto hidden = std::make_unique<CPCloudMng>();
    hidden->AddCloudPoint(50, 50, 0, 0, 0.0);
    hidden->m_nShowGroup = 0;
    Store().AddGroup(std::move(hidden));
    // The four corners of the square and its centre; a hidden group's entry takes no part.
    View().BuffersState().pickBuckets = {SelPCloud{0, {0, 4, 12, 20, 24}}, SelPCloud{1, {0}}};
    Run(kMakeTin);
    EXPECT_EQ(Store().GetGroup(0)->GetTriangleCount(), 4);
    EXPECT_EQ(Store().GetGroup(1)->GetTriangleCount(), 0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"三角数[4]のTINを作成しました "}));
    EXPECT_TRUE(View().CanUndo());
}

TEST_F(MakeTinCommandTest, ASelectionOverTwoShownGroupsMergesAfterBothConfirmations)
{
    AddSlope(3, 0.0f);
    AddSlope(3, 10.0f);
    View().BuffersState().pickBuckets = {SelPCloud{0, {0, 2, 6, 8}}, SelPCloud{1, {0, 2, 6, 8}}};

    Boxes().QueueAnswer(tessara::IDYES);
    Boxes().QueueAnswer(tessara::IDCANCEL);
    Run(kMakeTin);
    EXPECT_EQ(Store().GetGroupCount(), 2) << "a refused warning changes nothing";

    Boxes().Clear();
    Boxes().QueueAnswer(tessara::IDYES);
    Boxes().QueueAnswer(tessara::IDOK);
    Run(kMakeTin);
    ASSERT_EQ(Store().GetGroupCount(), 1);
    EXPECT_EQ(Store().GetGroup(0)->GetCloudPointSize(), 18);
    EXPECT_GT(Store().GetGroup(0)->GetTriangleCount(), 0);
    EXPECT_TRUE(View().BuffersState().pickBuckets.empty()) << "merged points have new numbers";
    EXPECT_FALSE(View().CanUndo()) << "merging clears the undo lists";
}
