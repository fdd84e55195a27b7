#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/ModelFile.h"

#include "HostFileBytes.h"
#include "HostFileFixture.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "platform/AtomicFileWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <limits>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace fileformat;

std::unique_ptr<CPCloudMng> MakeGroup(const std::string& name, int points, float dz)
{
    auto g = std::make_unique<CPCloudMng>();
    g->m_name = name;
    g->m_memo = "メモ";
    g->m_nColor = 0x00112233;
    g->m_nValue1 = 11;
    g->m_nValue3 = 33;
    g->m_nValue4 = -4;
    g->m_nShowPCloud = 0;
    for (int i = 0; i < points; ++i)
        g->AddCloudPoint(float(i % 7), float(i / 7), dz + 0.25f * float(i), 0x010203u * std::uint32_t(i + 1), i * 1.5);
    g->m_nDataFlag = 1;
    g->CreateGrid();
    g->AddVertex(0, 0, dz);
    g->AddVertex(1, 0, dz);
    g->AddVertex(0, 1, kNoElevationZ);
    g->m_triangles.emplace_back(0, 1, 2);
    g->m_tinValue1 = 5;
    g->m_tinValue2 = 6;
    return g;
}

void FillScene(CModelDataMng& s)
{
    s.AddGroup(MakeGroup("点群", 20, 10));
    s.AddGroup(MakeGroup("点群", 5, 20));
    s.GetGroup(1)->m_nNameNumber = 1;
    s.m_cadName = "図面";
    CElmData point;
    point.m_nKind = 1;
    point.m_dZ = 3;
    point.m_ptLists = {{PT(1, 2, 3)}};
    CElmData two;
    two.m_nKind = 5;
    two.m_ptLists = {{PT(0, 0, 1), PT(1, 0, kUnsetDouble)}, {PT(2, 2, 2), PT(3, 3, 3)}};
    CElmData text;
    text.m_nKind = 13;
    text.m_nAttr13[0] = 7;
    text.m_nAttr13[1] = -3;
    text.m_ptLists = {{PT(5, 5, kUnsetDouble)}};
    for (CElmData* e : {&point, &two, &text}) {
        e->RebuildSegments();
        s.m_elmList.push_back(*e);
    }
    s.RebuildCadLayers();
    s.m_cadLayers[1].show = 0;
    s.m_partPoint3D.AddCloudPoint(1, 1, 1, 0xFF, 0);
    s.m_partPoint2D.AddCloudPoint(2, 2, kNoElevationZ, 0xFF00, 0);
    s.m_partVertex.AddVertex(0, 0, 1);
    s.m_partVertex.AddVertex(1, 1, kNoElevationZ);
    s.m_partVertex.AddVertex(2, 2, 2);
    s.m_partLine3D.push_back({0, 2, 9});
    s.m_partLine2D.push_back({0, 1, 8});
    s.m_viewCloud.AddCloudPoint(3, 3, 3, 0x804000, 0);
    s.m_viewCloud.AddVertex(3, 3, 3);
    s.m_viewCloud.m_nShowPCloud = 0;
    s.m_cadTin.AddVertex(4, 4, 4);
    s.m_nShowCADTin = 0;
    s.m_structure[3].AddVertex(1, 2, 3);
    s.m_structure[20].AddVertex(4, 5, 6);
    s.m_nShowStructure[2] = 0;
}

ModelViewState SomeState()
{
    ModelViewState st;
    st.rotationCentre = {1.5f, 2.5f, 3.5f};
    st.frame.cornersSet = 1;
    st.frame.transformSet = 1;
    st.frame.baseElevation = 12.25;
    st.frame.surveyTransform.Move(-100, -200);
    st.frame.pointRenderMode = 2;
    st.frame.value10[23] = 0x5A;
    for (std::size_t i = 0; i < st.displaySwitches.size(); ++i) st.displaySwitches[i] = int(i) + 1;
    st.texturePlacement = {1, 2, 3, 4, 0.5};
    return st;
}

std::vector<char> Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(ModelFileTest, EverythingRoundTripsThroughAFile)
{
    HostFileFolder dir;
    CModelDataMng scene;
    FillScene(scene);
    ModelViewState state = SomeState();
    const std::string path = dir.Path("scene.tpf");
    ASSERT_EQ(ModelFile::Save(path, scene, state, kEverything), ModelFile::SaveResult::Ok);
    const auto first = Bytes(path);
    EXPECT_EQ(first[4], 0x04);
    EXPECT_EQ(first[5], 0x01);

    ModelFile::Loaded loaded;
    ASSERT_EQ(ModelFile::Read(path, loaded), ModelFile::LoadResult::Ok);
    CModelDataMng live;
    live.AddGroup(MakeGroup("old", 3, 0));
    ModelViewState liveState;
    ASSERT_TRUE(ModelFile::FitsInto(loaded, live));
    ModelFile::Install(loaded, live, liveState);

    ASSERT_EQ(live.GetGroupCount(), 2);
    const CPCloudMng& g = *live.GetGroup(1);
    EXPECT_EQ(g.m_name, "点群");
    EXPECT_EQ(g.m_nNameNumber, 1);
    EXPECT_EQ(g.m_memo, "メモ");
    EXPECT_EQ(g.GetCloudPointSize(), 5);
    EXPECT_EQ(g.m_nShowPCloud, 0);
    EXPECT_EQ(g.m_nValue4, -4);
    EXPECT_EQ(g.GetTriangleCount(), 1);
    EXPECT_EQ(g.m_tinValue2, 6);
    ASSERT_EQ(live.m_elmList.size(), 3u);
    EXPECT_EQ(live.m_elmList[1].m_ptLists.size(), 2u);
    EXPECT_EQ(live.m_elmList[2].m_nAttr13[1], -3);
    EXPECT_EQ(live.m_cadLayers[1].show, 0);
    EXPECT_EQ(live.m_cadName, "図面");
    EXPECT_EQ(live.m_partPoint2D.GetCloudPointSize(), 1);
    EXPECT_EQ(live.m_partLine2D.size(), 1u);
    EXPECT_EQ(live.m_partLineVertex2D.GetVertexSize(), 2);
    EXPECT_EQ(live.m_viewCloud.GetCloudPointSize(), 1);
    EXPECT_EQ(live.m_viewCloud.m_nShowPCloud, 0);
    EXPECT_EQ(live.m_nShowCADTin, 0);
    EXPECT_EQ(live.m_structure[20].GetVertexSize(), 1);
    EXPECT_EQ(live.m_nShowStructure[2], 0);
    EXPECT_EQ(liveState.frame.baseElevation, 12.25);
    EXPECT_EQ(liveState.frame.value10[23], 0x5A);
    EXPECT_EQ(liveState.displaySwitches[10], 11);
    EXPECT_EQ(liveState.texturePlacement[4], 0.5);

    // Saved again, the bytes are the same: every section is symmetric.
    const std::string again = dir.Path("again.tpf");
    ASSERT_EQ(ModelFile::Save(again, live, liveState, kEverything), ModelFile::SaveResult::Ok);
    EXPECT_EQ(Bytes(again), first);
}

TEST(ModelFileTest, PartialFlagsReplaceOnlyTheirSectionsInExistingGroups)
{
    HostFileFolder dir;
    CModelDataMng scene;
    FillScene(scene);
    ModelViewState state = SomeState();
    const std::string path = dir.Path("tins.tmp");
    ASSERT_EQ(ModelFile::Save(path, scene, state, kGroupTins), ModelFile::SaveResult::Ok);

    // The scene changes after the snapshot: TINs gone, points changed, figures gone.
    for (auto& g : scene.m_groups) g->DeleteMeash();
    scene.GetGroup(0)->DeleteCloudPointAll();
    scene.m_elmList.clear();

    ModelFile::Loaded loaded;
    ASSERT_EQ(ModelFile::Read(path, loaded), ModelFile::LoadResult::Ok);
    ASSERT_TRUE(ModelFile::FitsInto(loaded, scene));
    ModelFile::Install(loaded, scene, state);
    EXPECT_EQ(scene.GetGroup(0)->GetTriangleCount(), 1);
    EXPECT_EQ(scene.GetGroup(1)->GetTriangleCount(), 1);
    EXPECT_EQ(scene.GetGroup(0)->GetCloudPointSize(), 0) << "points are not in the snapshot";
    EXPECT_TRUE(scene.m_elmList.empty());

    // With fewer groups than the snapshot's records the file is refused before anything changes.
    ModelFile::Loaded again;
    ASSERT_EQ(ModelFile::Read(path, again), ModelFile::LoadResult::Ok);
    scene.m_groups.pop_back();
    EXPECT_FALSE(ModelFile::FitsInto(again, scene));
}

TEST(ModelFileTest, PointSnapshotKeepsTheGroupsTins)
{
    HostFileFolder dir;
    CModelDataMng scene;
    FillScene(scene);
    ModelViewState state;
    const std::string path = dir.Path("points.tmp");
    ASSERT_EQ(ModelFile::Save(path, scene, state, kGroupPoints), ModelFile::SaveResult::Ok);
    scene.GetGroup(1)->DeleteCloudPointAll();
    ModelFile::Loaded loaded;
    ASSERT_EQ(ModelFile::Read(path, loaded), ModelFile::LoadResult::Ok);
    ModelFile::Install(loaded, scene, state);
    EXPECT_EQ(scene.GetGroup(1)->GetCloudPointSize(), 5);
    EXPECT_EQ(scene.GetGroup(1)->GetTriangleCount(), 1);
    EXPECT_EQ(scene.GetGroup(1)->m_nShowTin, 1);
}

TEST(ModelFileTest, EveryCutPointAndDamageIsRefusedWithoutTouchingTheScene)
{
    HostFileFolder dir;
    CModelDataMng scene;
    FillScene(scene);
    ModelViewState state = SomeState();
    const std::string path = dir.Path("scene.tpf");
    ASSERT_EQ(ModelFile::Save(path, scene, state, 0x7F), ModelFile::SaveResult::Ok);
    const auto whole = Bytes(path);
    // Complete files may end right after the display switches, or before the
    // second twelve 3D-structure stores (here 8 empty ones of 8 bytes and one
    // with a vertex); every other cut is refused.
    const std::size_t displayEnd = whole.size() - 40 - 248;
    const std::size_t tailStart = whole.size() - (11 * 8 + 20);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        std::vector<std::uint8_t> part(whole.begin(), whole.begin() + std::ptrdiff_t(cut));
        ModelFile::Loaded loaded;
        const auto r = ModelFile::Read(dir.Write("cut.tpf", part), loaded);
        const auto expected = cut == displayEnd || cut == tailStart ? ModelFile::LoadResult::Ok
                              : cut < 4                             ? ModelFile::LoadResult::WrongMagic
                              : cut < 6                             ? ModelFile::LoadResult::WrongVersion
                                                                    : ModelFile::LoadResult::Damaged;
        ASSERT_EQ(r, expected) << "cut " << cut << " of " << whole.size();
        EXPECT_EQ(loaded.scratch != nullptr, r == ModelFile::LoadResult::Ok);
    }
}

TEST(ModelFileTest, DamagedCountsAndIndicesAreRefused)
{
    HostFileFolder dir;
    CModelDataMng scene;
    scene.AddGroup(MakeGroup("a", 2, 0));
    ModelViewState state;
    const std::string path = dir.Path("tin.tpf");
    ASSERT_EQ(ModelFile::Save(path, scene, state, kGroupTins), ModelFile::SaveResult::Ok);
    auto bytes = Bytes(path);
    // Header 8 + rotation 12 + frame 340 + item 4 + group count 4, then the group
    // header: name (2 bytes), number, text256, colour, two switches, two values.
    const std::size_t triangleCount = 8 + 12 + 340 + 4 + 4 + 2 + 4 + 256 + 4 + 8 + 8;
    ASSERT_EQ(bytes[triangleCount], 1);
    std::vector<std::uint8_t> badIndex(bytes.begin(), bytes.end());
    badIndex[triangleCount + 4 + 8] = 3;  // third corner 3 of 3 vertices
    ModelFile::Loaded a;
    EXPECT_EQ(ModelFile::Read(dir.Write("a.tpf", badIndex), a), ModelFile::LoadResult::Damaged);
    std::vector<std::uint8_t> huge(bytes.begin(), bytes.end());
    huge[triangleCount + 3] = 0x7F;
    ModelFile::Loaded b;
    EXPECT_EQ(ModelFile::Read(dir.Write("b.tpf", huge), b), ModelFile::LoadResult::Damaged);
}

namespace {

// Hand-built files of the older versions, with the tools' own byte writer.
void Header(hostfile::HostFileBytes& b, std::uint16_t version, std::uint16_t flags)
{
    b.U32(kArchiveMagic);
    b.U16(version);
    b.U16(flags);
    for (int i = 0; i < 3; ++i) b.U32(0);  // rotation centre
    for (int i = 0; i < 12; ++i) b.F64(1e-16);
    b.I32(0);
    b.I32(0);
    for (double v : {0.0, 0.0, 1e-16, 1e-16}) b.F64(v);
    for (int m = 0; m < 2; ++m) {
        for (double v : {1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0}) b.F64(v);
        b.U16(0);
        if (m == 0) b.U32(0);  // TIN base colour
    }
    for (int i = 0; i < 4; ++i) b.I32(0);
    b.U16(0);
    b.U16(0);
    b.I32(0);
    b.I32(0);
    for (int i = 0; i < 24; ++i) b.U8(0);
}

void FloatPoint(hostfile::HostFileBytes& b, float x, float y, float z)
{
    for (float f : {x, y, z}) b.U32(std::bit_cast<std::uint32_t>(f));
}

std::vector<std::uint8_t> OldFile(std::uint16_t version)
{
    hostfile::HostFileBytes b;
    Header(b, version, kGroupPoints | kViewCloud);
    if (version >= 0x0102) b.I32(1);
    b.I32(1);  // one group
    if (version >= 0x0102) {
        b.CountedCp932("A");
        b.I32(0);
        if (version >= 0x0104) {
            std::vector<std::uint8_t> text(256, 0);
            text[0] = 'T';
            b.Raw(text.data(), text.size());
            b.U32(0x00ABCDEF);
        }
        b.I32(1);
        b.I32(0);
    }
    b.I32(0), b.I32(1), b.I32(0), b.U16(0);
    b.I32(2);
    for (int i = 0; i < 2; ++i) {
        b.F64(i), b.F64(i), b.F64(5), b.U32(0xFF), b.F64(1);
    }
    if (version >= 0x0102) b.I32(1), b.I32(1), b.I32(1);
    b.I32(1);
    b.U32(0), b.U32(1), b.U32(2);
    b.I32(3);
    FloatPoint(b, 0, 0, 1);
    FloatPoint(b, 1, 0, 1);
    FloatPoint(b, 0, 1, 1);
    if (version >= 0x0102) {
        b.I32(1);
        FloatPoint(b, 9, 9, 9);
        b.U32(0x123456);
        b.F64(0);
    }
    const int switches = version >= 0x0102 ? 11 : 8;
    for (int i = 0; i < switches; ++i) b.I32(7);
    for (int i = 0; i < 5; ++i) b.F64(2.0);
    return std::move(b.Bytes());
}

}  // namespace

TEST(ModelFileTest, OlderVersionsReadAsTheyWereWritten)
{
    HostFileFolder dir;
    for (std::uint16_t version : {0x0101, 0x0102, 0x0103, 0x0104}) {
        SCOPED_TRACE(version);
        ModelFile::Loaded loaded;
        ASSERT_EQ(ModelFile::Read(dir.Write("old.tpf", OldFile(version)), loaded), ModelFile::LoadResult::Ok);
        CModelDataMng live;
        ModelViewState state;
        // Flags 0x09 are not "everything": the file's group goes into the existing one.
        live.AddGroup(std::make_unique<CPCloudMng>());
        live.GetGroup(0)->m_memo = "keep";
        live.GetGroup(0)->m_nColor = 0x00010101;
        ASSERT_TRUE(ModelFile::FitsInto(loaded, live));
        ModelFile::Install(loaded, live, state);
        const CPCloudMng& g = *live.GetGroup(0);
        EXPECT_EQ(g.GetCloudPointSize(), 2);
        EXPECT_EQ(g.m_name, version >= 0x0102 ? "A" : "");
        EXPECT_EQ(g.m_nShowPCloud, version >= 0x0102 ? 0 : 1);
        EXPECT_EQ(g.m_memo, version >= 0x0104 ? "T" : "keep");
        EXPECT_EQ(g.m_nColor, version >= 0x0104 ? 0x00ABCDEFu : 0x00010101u);
        EXPECT_EQ(live.m_viewCloud.GetTriangleCount(), 1);
        float x, y, z;
        COLORREF colour;
        double intensity;
        ASSERT_EQ(live.m_viewCloud.GetCloudPointVal(0, x, y, z, colour, intensity), 1);
        EXPECT_EQ(colour, version >= 0x0102 ? 0x123456u : 0x00804000u);
        EXPECT_EQ(live.m_viewCloud.GetCloudPointSize(), version >= 0x0102 ? 1 : 3);
        EXPECT_EQ(state.displaySwitches[0], version == 0x0103 ? 0 : 7);
        EXPECT_EQ(state.displaySwitches[10], version == 0x0103 ? 0 : version == 0x0101 ? 1 : 7);
        EXPECT_EQ(state.texturePlacement[0], version == 0x0103 ? 0.0 : 2.0);
    }
    for (std::uint16_t version : {0x0100, 0x0105}) {
        auto bytes = OldFile(0x0104);
        bytes[4] = std::uint8_t(version);
        bytes[5] = std::uint8_t(version >> 8);
        ModelFile::Loaded loaded;
        EXPECT_EQ(ModelFile::Read(dir.Write("v.tpf", bytes), loaded), ModelFile::LoadResult::WrongVersion);
    }
}

TEST(ModelFileTest, Version0102GroupsCreatedByTheReaderGetNoTextAndTheDefaultColour)
{
    hostfile::HostFileBytes b;
    Header(b, 0x0102, 0xFFFF);
    b.I32(1);  // groups shown
    const auto emptyBody = [&b] { b.I32(0), b.I32(0); };
    b.I32(2);  // group points: two groups
    for (const char* name : {"A", "B"}) {
        b.CountedCp932(name);
        b.I32(0), b.I32(1), b.I32(1);
        b.I32(0), b.I32(1), b.I32(0), b.U16(0);
        b.I32(1);
        b.F64(1), b.F64(2), b.F64(3), b.U32(0xFF), b.F64(0);
    }
    b.I32(2);  // group TINs
    for (const char* name : {"A", "B"}) {
        b.CountedCp932(name);
        b.I32(0), b.I32(1), b.I32(1), b.I32(0), b.I32(0);
        emptyBody();
    }
    b.CountedCp932("");  // CAD: name, shown, 24 layer switches, no figures
    b.I32(1);
    b.U64(24);
    for (int i = 0; i < 24; ++i) b.I32(1);
    b.I32(0);
    b.I32(1), b.I32(1), b.I32(1), b.I32(0), b.I32(0), b.I32(0);  // part drawing
    b.I32(1), b.I32(1), b.I32(1);  // view cloud
    emptyBody();
    b.I32(0);
    b.I32(1), b.I32(1);  // CAD TIN
    emptyBody();
    for (int i = 0; i < 11; ++i) b.I32(1);
    for (int i = 0; i < 5; ++i) b.F64(0);
    b.I32(1), b.I32(1);  // 3D structures: six sets, six kinds, twelve tails
    for (int i = 0; i < 6; ++i) emptyBody();
    for (int i = 0; i < 6; ++i) b.I32(1), emptyBody();
    for (int i = 0; i < 12; ++i) emptyBody();

    HostFileFolder dir;
    ModelFile::Loaded loaded;
    ASSERT_EQ(ModelFile::Read(dir.Write("v2.tpf", b.Bytes()), loaded), ModelFile::LoadResult::Ok);
    CModelDataMng live;
    ModelViewState state;
    ASSERT_TRUE(ModelFile::FitsInto(loaded, live));
    ModelFile::Install(loaded, live, state);
    ASSERT_EQ(live.GetGroupCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(live.GetGroup(i)->m_memo.empty());
        EXPECT_EQ(live.GetGroup(i)->m_nColor, CModelDataMng::GetDefPointCloudGroupCol(std::uint16_t(i)));
    }
    EXPECT_EQ(live.GetGroup(1)->m_name, "B");
}

TEST(ModelFileTest, AnEmptySceneStillNeedsTheMarginOfFreeSpace)
{
    CModelDataMng empty;
    EXPECT_EQ(ModelFile::EstimateBytes(empty, kEverything), 1ull << 30);
    CModelDataMng scene;
    scene.AddGroup(MakeGroup("a", 10, 0));
    EXPECT_EQ(ModelFile::EstimateBytes(scene, kGroupPoints), (1ull << 30) + 360);
    EXPECT_EQ(ModelFile::EstimateBytes(scene, kGroupTins), (1ull << 30) + 12 * 4);
}

namespace {

std::atomic<std::uint64_t> g_stepsSeen{0};
std::uint64_t g_killAtStep = 0;

void CountStep(tessara::SaveStep, std::uint64_t index) { g_stepsSeen = index + 1; }
void KillAtChosenStep(tessara::SaveStep, std::uint64_t index)
{
    if (index == g_killAtStep) ::raise(SIGKILL);
}

}  // namespace

TEST(ModelFileTest, ASaveKilledAtAnyStepLeavesThePreviousFileByteIdentical)
{
    HostFileFolder dir;
    const std::string path = dir.Path("big.tpf");
    CModelDataMng small;
    small.AddGroup(MakeGroup("old", 100, 0));
    ModelViewState state;
    ASSERT_EQ(ModelFile::Save(path, small, state, kEverything), ModelFile::SaveResult::Ok);
    const auto before = Bytes(path);

    CModelDataMng big;
    auto g = std::make_unique<CPCloudMng>();
    for (int i = 0; i < 300'000; ++i) g->AddCloudPoint(float(i), 1, 2, 3, 4);
    big.AddGroup(std::move(g));
    // How many steps (writes, the sync, the rename) the save takes, on a copy elsewhere.
    tessara::SetSaveStepHook(CountStep);
    ModelViewState counted;
    ASSERT_EQ(ModelFile::Save(dir.Path("count.tpf"), big, counted, kEverything), ModelFile::SaveResult::Ok);
    tessara::SetSaveStepHook(nullptr);
    const std::uint64_t steps = g_stepsSeen;
    ASSERT_GE(steps, 3u);

    // The first and last writes, writes in between, the sync and the rename.
    std::vector<std::uint64_t> killAt = {0, steps / 4, steps / 2, steps - 3, steps - 2, steps - 1};
    for (const std::uint64_t step : killAt) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            g_killAtStep = step;
            tessara::SetSaveStepHook(KillAtChosenStep);
            ModelViewState s;
            ModelFile::Save(path, big, s, kEverything);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save did not reach step " << step << " of " << steps;
        EXPECT_EQ(Bytes(path), before) << "killed before step " << step << " of " << steps;
    }
}

TEST(ModelFileTest, MissingFolderAndMissingFileAreReported)
{
    HostFileFolder dir;
    CModelDataMng scene;
    ModelViewState state;
    EXPECT_EQ(ModelFile::Save(dir.Path("no/such/folder.tpf"), scene, state, kEverything),
              ModelFile::SaveResult::CannotCreate);
    ModelFile::Loaded loaded;
    EXPECT_EQ(ModelFile::Read(dir.Path("none.tpf"), loaded), ModelFile::LoadResult::Missing);
    EXPECT_EQ(ModelFile::Read(dir.Write("x.tpf", {1, 2, 3}), loaded), ModelFile::LoadResult::WrongMagic);
}

TEST(ModelFileTest, RandomDamageNeverCrashesAndNeverHalfLoads)
{
    HostFileFolder dir;
    CModelDataMng scene;
    FillScene(scene);
    ModelViewState state = SomeState();
    const std::string path = dir.Path("scene.tpf");
    ASSERT_EQ(ModelFile::Save(path, scene, state, kEverything), ModelFile::SaveResult::Ok);
    const auto whole = Bytes(path);
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int round = 0; round < 500; ++round) {
        std::vector<std::uint8_t> damaged(whole.begin(), whole.end());
        for (int k = 0; k < 1 + round % 4; ++k) damaged[8 + next() % (damaged.size() - 8)] = std::uint8_t(next());
        ModelFile::Loaded loaded;
        const auto r = ModelFile::Read(dir.Write("d.tpf", damaged), loaded);
        EXPECT_EQ(loaded.scratch != nullptr, r == ModelFile::LoadResult::Ok);
    }
}

// Groups large enough to be read in parts on worker threads, followed by more
// sections, come back point for point; a bad point deep inside refuses the file.
TEST(ModelFileTest, LargeGroupsRoundTripAndABadPointDeepInsideIsRefused)
{
    HostFileFolder dir;
    CModelDataMng scene;
    FillScene(scene);
    for (int n : {700'000, 600'001}) {
        auto g = std::make_unique<CPCloudMng>();
        g->m_name = "大";
        for (int i = 0; i < n; ++i)
            g->AddCloudPoint(float(i % 997) * 0.5f, float(i / 997), i % 11 == 0 ? kNoElevationZ : 3.0f + float(i % 101),
                             std::uint32_t(i) * 2654435761u, double(i % 1013));
        g->m_nDataFlag = 1;
        g->CreateGrid();
        scene.AddGroup(std::move(g));
    }
    ModelViewState state = SomeState();
    const std::string path = dir.Path("big.tpf");
    ASSERT_EQ(ModelFile::Save(path, scene, state, kEverything), ModelFile::SaveResult::Ok);
    ModelFile::Loaded loaded;
    ASSERT_EQ(ModelFile::Read(path, loaded), ModelFile::LoadResult::Ok);
    CModelDataMng live;
    ModelViewState liveState;
    ASSERT_TRUE(ModelFile::FitsInto(loaded, live));
    ModelFile::Install(loaded, live, liveState);
    ASSERT_EQ(live.GetGroupCount(), 4);
    for (int gi = 2; gi < 4; ++gi) {
        const CPCloudMng& want = *scene.GetGroup(gi);
        const CPCloudMng& got = *live.GetGroup(gi);
        ASSERT_EQ(got.GetCloudPointSize(), want.GetCloudPointSize());
        for (std::size_t i = 0; i < want.m_points.size(); ++i) {
            ASSERT_EQ(got.m_points[i].x, want.m_points[i].x) << i;
            ASSERT_EQ(got.m_points[i].y, want.m_points[i].y) << i;
            ASSERT_EQ(got.m_points[i].z, want.m_points[i].z) << i;
            ASSERT_EQ(got.m_points[i].colour, want.m_points[i].colour) << i;
            ASSERT_EQ(got.m_points[i].intensity, want.m_points[i].intensity) << i;
        }
        EXPECT_EQ(got.GetPCloudMinX(), want.GetPCloudMinX());
        EXPECT_EQ(got.GetPCloudMaxY(), want.GetPCloudMaxY());
        EXPECT_EQ(got.GetPCloudMinZ(), want.GetPCloudMinZ());
        EXPECT_EQ(got.GetPCloudMaxZ(), want.GetPCloudMaxZ());
        EXPECT_EQ(got.GetPCloudMaxIntensity(), want.GetPCloudMaxIntensity());
        ASSERT_EQ(got.m_grid.size(), want.m_grid.size());
        for (std::size_t c = 0; c < want.m_grid.size(); ++c) {
            EXPECT_EQ(got.m_grid[c].indices, want.m_grid[c].indices);
            EXPECT_EQ(got.m_grid[c].minZ, want.m_grid[c].minZ);
            EXPECT_EQ(got.m_grid[c].maxX, want.m_grid[c].maxX);
        }
    }
    EXPECT_EQ(live.m_structure[20].GetVertexSize(), 1);
    EXPECT_EQ(liveState.texturePlacement[4], 0.5);
    const std::string again = dir.Path("again.tpf");
    ASSERT_EQ(ModelFile::Save(again, live, liveState, kEverything), ModelFile::SaveResult::Ok);
    EXPECT_EQ(Bytes(again), Bytes(path));

    scene.GetGroup(3)->m_points[500'000].x = std::numeric_limits<float>::quiet_NaN();
    ASSERT_EQ(ModelFile::Save(path, scene, state, kEverything), ModelFile::SaveResult::Ok);
    ModelFile::Loaded bad;
    EXPECT_EQ(ModelFile::Read(path, bad), ModelFile::LoadResult::Damaged);
    EXPECT_EQ(bad.scratch, nullptr);
}
