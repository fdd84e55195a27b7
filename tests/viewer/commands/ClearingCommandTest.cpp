#include "CommandViewFixture.h"
#include "EditFixtures.h"

#include "viewer/files/ViewFilesState.h"

#include <QDir>

using namespace editfixture;

namespace {

class ClearingTest : public CommandViewTest {
protected:
    void SetUp() override
    {
        CommandViewTest::SetUp();
        CModelDataMng& s = Store();
        Fill(s);
        s.GetGroup(0)->AddVertex(0.0f, 0.0f, 0.0f);
        s.GetGroup(0)->AddVertex(1.0f, 0.0f, 0.0f);
        s.GetGroup(0)->AddVertex(0.0f, 1.0f, 0.0f);
        CElmData figure;
        figure.m_nKind = 3;
        s.m_elmList.push_back(figure);
        s.RebuildCadLayers();
        s.m_cadTin.AddCloudPoint(1.0f, 2.0f, 3.0f, 0, 0.0);
        s.m_viewCloud.AddCloudPoint(1.0f, 2.0f, 3.0f, 0, 0.0);
        s.m_structure[0].AddVertex(1.0f, 1.0f, 1.0f);
        s.m_structure[13].AddVertex(2.0f, 1.0f, 1.0f);
    }
    CModelDataMng& Store() { return View().ModelStore(); }
    void Clear(std::uint16_t flags, std::uint16_t version)
    {
        std::lock_guard lock(View().ViewMutex());
        View().ClearData(flags, version);
    }
};

} // namespace

TEST_F(ClearingTest, EverythingDestroysEveryGroup)
{
    Clear(0xFFFF, 0x102);
    EXPECT_EQ(Store().GetGroupCount(), 0);
    EXPECT_TRUE(Store().m_elmList.empty());
    EXPECT_EQ(Store().m_cadTin.GetCloudPointSize(), 0);
    EXPECT_EQ(Store().m_viewCloud.GetCloudPointSize(), 0);
    EXPECT_EQ(Store().m_structure[0].GetVertexSize(), 0);
}

TEST_F(ClearingTest, PointsAndTinsLeaveTheGroupsEmpty)
{
    Clear(0x03, 0x102);
    ASSERT_EQ(Store().GetGroupCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Store().GetGroup(i)->GetCloudPointSize(), 0);
        EXPECT_EQ(Store().GetGroup(i)->GetVertexSize(), 0);
    }
    EXPECT_EQ(Store().m_elmList.size(), 1u);
    EXPECT_EQ(Store().m_structure[0].GetVertexSize(), 1);
}

TEST_F(ClearingTest, CadFiguresTakeTheCadTinAlongOnlyInOldFiles)
{
    struct Case {
        std::uint16_t version;
        int cadTinLeft;
    } cases[] = {{0x101, 0}, {0x102, 1}, {0x103, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Store().m_cadTin = CPCloudMng();
        Store().m_cadTin.AddCloudPoint(1.0f, 2.0f, 3.0f, 0, 0.0);
        Store().m_elmList.assign(1, CElmData());
        Clear(0x04, c.version);
        EXPECT_TRUE(Store().m_elmList.empty());
        EXPECT_EQ(Store().m_cadTin.GetCloudPointSize(), c.cadTinLeft);
        EXPECT_EQ(Store().GetGroupCount(), 3);
        EXPECT_EQ(Store().GetGroup(0)->GetCloudPointSize(), 103);
    }
}

TEST_F(ClearingTest, ClearAllDataKeepsTheStructuresShown)
{
    View().ClearAllData();
    EXPECT_EQ(Store().GetGroupCount(), 0);
    EXPECT_TRUE(Store().m_elmList.empty());
    EXPECT_EQ(Store().m_cadTin.GetCloudPointSize(), 0);
    EXPECT_EQ(Store().m_viewCloud.GetCloudPointSize(), 0);
    EXPECT_EQ(Store().m_structure[0].GetVertexSize(), 1);
    EXPECT_EQ(Store().m_structure[13].GetVertexSize(), 1);
    EXPECT_EQ(Store().IsShow3DStructureGroup(), 1);
    EXPECT_FALSE(View().ViewMutex().HeldByThisThread());
}

TEST_F(ClearingTest, AModelFileLoadClearsThroughClearDataWithTheLockHeld)
{
    const std::string path = QDir::tempPath().toStdString() + "/clearing-test.tpf";
    ASSERT_EQ(View().SaveModelArchive(path, 0xFFFF), 1);
    int calls = 0;
    bool locked = false;
    auto previous = View().FilesState().clearData;
    ASSERT_TRUE(previous);
    View().FilesState().clearData = [&](std::uint16_t flags, std::uint16_t version) {
        ++calls;
        locked = View().ViewMutex().HeldByThisThread();
        EXPECT_EQ(flags, 0xFFFF);
        previous(flags, version);
    };
    Store().AddGroup(Patch(500.0f, "extra"));
    ASSERT_EQ(View().LoadModelArchive(path), 1);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(locked);
    EXPECT_EQ(Store().GetGroupCount(), 3) << "the group added after the save is gone";
    std::remove(path.c_str());
}

TEST_F(ClearingTest, GroupsThatStayKeepTheirShowFlags)
{
    Store().GetGroup(0)->m_nShowTin = 0;
    Clear(0x01, 0x102);
    EXPECT_EQ(Store().GetGroup(0)->m_nShowTin, 0);
    EXPECT_EQ(Store().GetGroup(1)->m_nShowPCloud, 0);
    EXPECT_EQ(Store().GetGroup(0)->GetVertexSize(), 3) << "the TIN stays with points alone";
}
