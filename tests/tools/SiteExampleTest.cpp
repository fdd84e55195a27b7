#include "HostFileWriter.h"
#include "ModelText.h"
#include "SiteExample.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "viewer/files/HostDataContent.h"
#include "viewer/files/HostDataFileReader.h"
#include "viewer/files/SceneFrame.h"

#include "../viewer/files/HostFileFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The example site comes twice, as host data and as a model file; what makes it
// one site is that the host data land exactly on the model.
class SiteExampleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HostFileFolder dir;
        HostDataFileReader reader(MTRX(), false);
        ASSERT_EQ(reader.Read(dir.WriteLayout("site.dat", hostfile::MakeSiteExample(1.0)), m_host),
                  HostDataFileReader::Result::Ok)
            << reader.Error();
        std::string error;
        ASSERT_TRUE(ModelText::Read(hostfile::SiteModelText(), m_model, m_state, error)) << error;
    }

    HostDataContent m_host;
    CModelDataMng m_model;
    ModelViewState m_state;
};

TEST_F(SiteExampleTest, HostDataAndModelShareTheFrameAndTheDrawing)
{
    // Same rendering centre: the reference point at the origin, below every elevation.
    const PT& centre = m_model.GetRenderingCenterPt();
    EXPECT_DOUBLE_EQ(m_host.groupCentre.x(), centre.x());
    EXPECT_DOUBLE_EQ(m_host.groupCentre.y(), centre.y());
    EXPECT_DOUBLE_EQ(m_host.groupCentre.z(), centre.z());

    // The working area is centred on the reference point (east x, north y).
    ASSERT_TRUE(m_host.cornersValid);
    EXPECT_DOUBLE_EQ(m_host.corners[0].x(), -hostfile::kSiteHalfEast);
    EXPECT_DOUBLE_EQ(m_host.corners[0].y(), -hostfile::kSiteHalfNorth);
    EXPECT_DOUBLE_EQ(m_host.corners[2].x(), hostfile::kSiteHalfEast);
    EXPECT_DOUBLE_EQ(m_host.corners[2].y(), hostfile::kSiteHalfNorth);

    // Every figure of the model is the host's, point for point; the host adds the
    // benchmark's name plate.
    ASSERT_EQ(m_host.figures.size(), m_model.m_elmList.size() + 1);
    for (std::size_t f = 0; f < m_model.m_elmList.size(); ++f) {
        const auto& mine = m_model.m_elmList[f].m_ptLists;
        const auto& theirs = m_host.figures[f].m_ptLists;
        ASSERT_EQ(mine.size(), theirs.size()) << "figure " << f;
        for (std::size_t l = 0; l < mine.size(); ++l) {
            ASSERT_EQ(mine[l].size(), theirs[l].size()) << "figure " << f << " list " << l;
            for (std::size_t i = 0; i < mine[l].size(); ++i) {
                EXPECT_NEAR(mine[l][i].x(), theirs[l][i].x(), 1e-3) << "figure " << f;
                EXPECT_NEAR(mine[l][i].y(), theirs[l][i].y(), 1e-3) << "figure " << f;
                EXPECT_EQ(IsUnsetValue(mine[l][i].z()), IsUnsetValue(theirs[l][i].z())) << "figure " << f;
                if (!IsUnsetValue(mine[l][i].z())) {
                    EXPECT_NEAR(mine[l][i].z(), theirs[l][i].z(), 1e-3);
                }
            }
        }
    }

    // The traverse: the same stations.
    ASSERT_EQ(m_host.partVertex.GetVertexSize(), m_model.m_partVertex.GetVertexSize());
    for (int i = 0; i < m_host.partVertex.GetVertexSize(); ++i) {
        float hx, hy, hz, mx, my, mz;
        ASSERT_TRUE(m_host.partVertex.GetVertexVal(i, hx, hy, hz));
        ASSERT_TRUE(m_model.m_partVertex.GetVertexVal(i, mx, my, mz));
        EXPECT_NEAR(hx, mx, 1e-3);
        EXPECT_NEAR(hy, my, 1e-3);
        EXPECT_NEAR(hz, mz, 1e-3);
    }
}

TEST_F(SiteExampleTest, TheGroundScanCoversTheSiteOnTheModelsGround)
{
    ASSERT_NE(m_host.group, nullptr);
    const CPCloudMng& scan = *m_host.group;
    EXPECT_NEAR(scan.GetPCloudMinX(), -hostfile::kSiteHalfEast, 0.5);
    EXPECT_NEAR(scan.GetPCloudMaxX(), hostfile::kSiteHalfEast, 0.5);
    EXPECT_NEAR(scan.GetPCloudMinY(), -hostfile::kSiteHalfNorth, 0.5);
    EXPECT_NEAR(scan.GetPCloudMaxY(), hostfile::kSiteHalfNorth, 0.5);

    // The model's ground TIN vertices lie on the ground the scan was taken of.
    const CPCloudMng& ground = *m_model.GetGroup(0);
    ASSERT_GT(ground.GetTriangleCount(), 0);
    for (int i = 0; i < ground.GetVertexSize(); ++i) {
        float x, y, z;
        ASSERT_TRUE(ground.GetVertexVal(i, x, y, z));
        EXPECT_NEAR(z, hostfile::SiteGround(x, y), 1e-3);
    }
    // Points and TIN are coloured on one height scale.
    EXPECT_EQ(m_state.frame.pointRenderMode, 1);
}

}  // namespace
