// Host data files and model files decode large groups in parts on worker threads;
// one, two and all workers must give the same points, bounds and grid.
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/HostDataContent.h"
#include "viewer/files/HostDataFileReader.h"
#include "viewer/files/ModelFile.h"
#include "HostFileFixture.h"
#include "outside/CModelDataMng.h"
#include "platform/Parallel.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Snapshot {
    std::vector<CPCloudMng::CloudPoint> points;
    float bounds[6] = {};
    std::size_t gridCells = 0;
    bool operator==(const Snapshot& o) const
    {
        if (points.size() != o.points.size() || gridCells != o.gridCells) return false;
        for (int k = 0; k < 6; ++k)
            if (bounds[k] != o.bounds[k]) return false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const auto& a = points[i];
            const auto& b = o.points[i];
            if (a.x != b.x || a.y != b.y || a.z != b.z || a.colour != b.colour || a.intensity != b.intensity) return false;
        }
        return true;
    }
};

Snapshot Take(const CPCloudMng& g)
{
    Snapshot s;
    s.points.assign(g.m_points.begin(), g.m_points.end());
    const float b[6] = {g.GetPCloudMinX(), g.GetPCloudMinY(), g.GetPCloudMinZ(),
                        g.GetPCloudMaxX(), g.GetPCloudMaxY(), g.GetPCloudMaxZ()};
    std::copy(b, b + 6, s.bounds);
    s.gridCells = g.m_grid.size();
    return s;
}

TEST(LoadWorkerCountTest, HostDataFilesDecodeTheSameWithOneTwoAndAllWorkers)
{
    HostFileFolder dir;
    const std::string path = dir.WriteLayout("big.dat", hostfile::MakeExample({700'000, 0, 0, 0}));
    std::vector<Snapshot> taken;
    for (const std::size_t workers : {1u, 2u, 0u}) {
        tessara::WorkerCountScope scope(workers);
        HostDataContent content;
        HostDataFileReader reader(MTRX(), false);
        ASSERT_EQ(reader.Read(path, content), HostDataFileReader::Result::Ok) << reader.Error();
        ASSERT_TRUE(content.group);
        content.group->CreateGrid();
        taken.push_back(Take(*content.group));
    }
    ASSERT_EQ(taken[0].points.size(), 700'000u);
    EXPECT_TRUE(taken[0] == taken[1]);
    EXPECT_TRUE(taken[0] == taken[2]);
}

TEST(LoadWorkerCountTest, ModelFilesReadTheSameWithOneTwoAndAllWorkers)
{
    HostFileFolder dir;
    CModelDataMng scene;
    auto g = std::make_unique<CPCloudMng>();
    for (int i = 0; i < 700'000; ++i)
        g->AddCloudPoint(float(i % 991) * 0.25f, float(i / 991), 2.0f + float(i % 89), std::uint32_t(i) * 2654435761u,
                         double(i % 1009));
    g->m_nDataFlag = 1;
    g->CreateGrid();
    scene.AddGroup(std::move(g));
    ModelViewState state;
    const std::string path = dir.Path("big.tpf");
    ASSERT_EQ(ModelFile::Save(path, scene, state, fileformat::kEverything), ModelFile::SaveResult::Ok);
    std::vector<Snapshot> taken;
    for (const std::size_t workers : {1u, 2u, 0u}) {
        tessara::WorkerCountScope scope(workers);
        ModelFile::Loaded loaded;
        ASSERT_EQ(ModelFile::Read(path, loaded), ModelFile::LoadResult::Ok) << loaded.error;
        taken.push_back(Take(*loaded.scratch->GetGroup(0)));
    }
    EXPECT_TRUE(taken[0] == Take(*scene.GetGroup(0)));
    EXPECT_TRUE(taken[0] == taken[1]);
    EXPECT_TRUE(taken[0] == taken[2]);
}

}  // namespace
