#include "CommandViewFixture.h"
#include "EditFixtures.h"

#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/Deletion.h"
#include "viewer/dialogs/CDeleteDlg.h"

using namespace editfixture;

namespace {

constexpr unsigned kApply = 0x0400 + 0x69;
constexpr unsigned kClosed = 0x0400 + 0x6A;

class DeletionCommandTest : public CommandViewTest {
protected:
    void SetUp() override
    {
        CommandViewTest::SetUp();
        Fill(Store());
        CElmData a, b;
        a.m_nKind = 1;
        b.m_nKind = 1;
        Store().m_elmList = {a, b};
        Store().RebuildCadLayers();
    }
    CModelDataMng& Store() { return View().ModelStore(); }
    std::intptr_t Apply() { return View().Commands().Dispatch(kApply, 0, 0); }
    std::vector<std::string> BoxTexts() { return editfixture::BoxTexts(Boxes()); }
};

} // namespace

TEST_F(DeletionCommandTest, ApplyPathsTable)
{
    struct Case {
        short deleteMode;
        std::uint8_t toolMode;
        bool selection;
        int answer;
        std::intptr_t result;
        std::vector<std::string> boxes;
        unsigned icon;
        bool undo;
        std::string status;
        std::vector<int> counts;
        std::size_t figures;
    } cases[] = {
        {1, 0, true, tessara::IDYES, 1, {deletion::kAskPoints}, tessara::MB_ICONQUESTION, true, deletion::kDonePoints,
         {101, 103, 103}, 2},
        {1, 0, true, tessara::IDNO, 0, {deletion::kAskPoints}, tessara::MB_ICONQUESTION, false, "", {103, 103, 103}, 2},
        {1, 0, false, tessara::IDOK, 1, {deletion::kNothingSelected}, 0, false, "", {103, 103, 103}, 2},
        {1, 6, true, tessara::IDYES, 1, {deletion::kAskFigures}, tessara::MB_ICONQUESTION, true, deletion::kDoneFigures,
         {103, 103, 103}, 1},
        {1, 6, false, tessara::IDOK, 1, {deletion::kNothingSelected}, tessara::MB_ICONINFORMATION, false, "",
         {103, 103, 103}, 2},
        {1, 3, true, tessara::IDOK, 1, {deletion::kNothingSelected}, tessara::MB_ICONINFORMATION, false, "",
         {103, 103, 103}, 2},
        {3, 0, true, tessara::IDOK, 1, {}, 0, false, "", {103, 103, 103}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.deleteMode << "/" << int(c.toolMode) << "/" << c.selection << "/" << c.answer);
        Store().ClearGroups();
        Fill(Store());
        Store().m_elmList.resize(2);
        View().ClearUndoFiles(0);
        View().ClearUndoFiles(1);
        View().SetMainFrameStatusText("");
        Boxes().Clear();
        View().Settings().deleteMode = c.deleteMode;
        View().SetToolMode(c.toolMode);
        View().BuffersState().pickBuckets.clear();
        View().BuffersState().selectedCadElements.clear();
        if (c.selection) {
            View().BuffersState().pickBuckets = {{0, {0, 1}}, {1, {0, 1, 2}}};  // group 1 is hidden
            View().BuffersState().selectedCadElements = {1, 1, 7};
        }
        Boxes().QueueAnswer(c.answer);
        EXPECT_EQ(Apply(), c.result);
        EXPECT_EQ(BoxTexts(), c.boxes);
        if (!c.boxes.empty()) {
            EXPECT_EQ(Boxes().ShownBoxes()[0].flags & 0xF0u, c.icon);
        }
        EXPECT_EQ(View().CanUndo(), c.undo);
        EXPECT_EQ(View().LastStatusText(), c.status);
        EXPECT_EQ(Counts(Store()), c.counts);
        EXPECT_EQ(Store().m_elmList.size(), c.figures);
        if (c.undo && c.toolMode == 0) {
            EXPECT_TRUE(View().BuffersState().pickBuckets.empty()) << "no stale point numbers";
        }
        if (c.undo && c.toolMode == 6) {
            EXPECT_TRUE(View().BuffersState().selectedCadElements.empty()) << "no stale figure numbers";
        }
    }
}

TEST_F(DeletionCommandTest, ElevationDeletionThroughTheDialogAndUndo)
{
    View().Settings().deleteMode = 2;
    View().Settings().elevationDeleteMode = 0;
    View().Settings().elevationBound1 = 5.0;   // either order
    View().Settings().elevationBound2 = 0.01;
    Boxes().QueueAnswer(tessara::IDYES);
    EXPECT_EQ(Apply(), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{deletion::kAskInside}));
    EXPECT_EQ(View().LastStatusText(), deletion::kDoneRange);
    const std::vector<int> after = Counts(Store());
    EXPECT_LT(after[0], 103);
    EXPECT_EQ(after[1], 103) << "hidden group untouched";
    EXPECT_TRUE(View().CanUndo());
    View().Undo();
    EXPECT_EQ(Counts(Store()), (std::vector<int>{103, 103, 103}));
}

TEST_F(DeletionCommandTest, TheDeleteKeyAsksOnceAndWarnsWithNothingSelected)
{
    View().SetToolMode(0);
    View().DeleteSelection();
    ASSERT_EQ(Boxes().Count(), 1u);
    EXPECT_EQ(Boxes().ShownBoxes()[0].text, deletion::kNothingSelected);
    EXPECT_EQ(Boxes().ShownBoxes()[0].flags & 0xF0u, unsigned(tessara::MB_ICONWARNING));
    Boxes().Clear();
    View().BuffersState().pickBuckets = {{2, {5, 6, 7}}};
    Boxes().QueueAnswer(tessara::IDYES);
    View().DeleteSelection();
    EXPECT_EQ(Counts(Store()), (std::vector<int>{103, 103, 100}));
    EXPECT_EQ(View().LastStatusText(), "") << "the key path shows no status texts";
    View().Undo();
    EXPECT_EQ(Counts(Store()), (std::vector<int>{103, 103, 103}));
    Boxes().Clear();
    View().SetToolMode(2);
    View().DeleteSelection();
    EXPECT_EQ(Boxes().Count(), 0u);
}

TEST_F(DeletionCommandTest, DeleteAllShownKeepsHiddenDataAndCancelsKeepTheUndoLists)
{
    View().PushUndoSnapshot(0x03);
    View().Settings().deleteMode = 0;
    Boxes().QueueAnswer(tessara::IDOK);
    Boxes().QueueAnswer(tessara::IDCANCEL);
    EXPECT_EQ(Apply(), 0);
    EXPECT_TRUE(View().CanUndo());
    EXPECT_EQ(Counts(Store()), (std::vector<int>{103, 103, 103}));
    Boxes().Clear();
    Boxes().QueueAnswer(tessara::IDOK);
    Boxes().QueueAnswer(tessara::IDOK);
    EXPECT_EQ(Apply(), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{deletion::kAllShownFirst, deletion::kAllSecond}));
    EXPECT_EQ(Counts(Store()), (std::vector<int>{0, 103, 0}));
    EXPECT_FALSE(View().CanUndo());
    EXPECT_EQ(View().LastStatusText(), deletion::kDoneAll);
}

TEST_F(DeletionCommandTest, WithNothingHiddenDeleteAllShownIsDeleteAllData)
{
    Store().GetGroup(1)->m_nShowPCloud = 1;
    Store().m_structure[0].AddVertex(1, 1, 1);
    View().Settings().deleteMode = 0;
    Boxes().QueueAnswer(tessara::IDOK);
    Boxes().QueueAnswer(tessara::IDOK);
    EXPECT_EQ(Apply(), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{deletion::kAllDataFirst, deletion::kAllSecond}));
    EXPECT_EQ(Store().GetGroupCount(), 0);
    EXPECT_TRUE(Store().m_elmList.empty());
    EXPECT_EQ(Store().m_structure[0].GetVertexSize(), 1);
}

TEST_F(DeletionCommandTest, TheDialogIsMadeOnceAndGoesWithItsCloseMessage)
{
    Run(32803);
    CDeleteDlg* first = View().DeleteDialog();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    Run(32803);
    EXPECT_EQ(View().DeleteDialog(), first);
    EXPECT_EQ(View().Commands().Dispatch(kClosed, 0, 0), 1);
    EXPECT_EQ(View().DeleteDialog(), nullptr);
}

TEST_F(DeletionCommandTest, EditCadTogglesTheCadSelectionMode)
{
    View().SetToolMode(0);
    Run(32801);
    EXPECT_EQ(View().LastStatusText(), "CAD図形の編集を行います。（Ctrl＋：解除選択  Shift＋:追加選択）");
    View().BuffersState().selectedCadElements = {0};
    Run(32801);
    EXPECT_TRUE(View().BuffersState().selectedCadElements.empty());
}
