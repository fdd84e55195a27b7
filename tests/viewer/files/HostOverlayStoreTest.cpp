#include "viewer/files/HostOverlayStore.h"

#include "HostFileFixture.h"
#include "HostFileWriter.h"
#include "viewer/files/SceneFrame.h"

#include <gtest/gtest.h>

namespace {

HostPolygonContent ReadOverlay(const HostFileFolder& dir, const hostfile::OverlayFileLayout& layout)
{
    HostPolygonContent c;
    EXPECT_EQ(HostPolygonFile::Read(dir.Write("o.dat", hostfile::WriteOverlayFile(layout)), c),
              HostPolygonFile::Result::Ok);
    return c;
}

// A file with no records still sets the transform, the corners and the centre.
TEST(HostOverlayStoreTest, ZeroCountsSetTheFrame)
{
    HostFileFolder dir;
    hostfile::OverlayFileLayout layout;
    layout.originA = 1000.0;   // host X (north)
    layout.originB = 2000.0;   // host Y (east)
    HostOverlayStore store;
    SceneFrame frame;
    const auto installed = store.Install(ReadOverlay(dir, layout), frame);
    EXPECT_TRUE(store.Empty());
    ASSERT_EQ(frame.transformSet, 1);
    ASSERT_EQ(frame.cornersSet, 1);
    // Axes exchanged and moved by the origin: host (x, y) -> user (y - B, x - A).
    EXPECT_DOUBLE_EQ(frame.corners[1].x(), 0.0 - 2000.0);
    EXPECT_DOUBLE_EQ(frame.corners[1].y(), 100.0 - 1000.0);
    EXPECT_EQ(frame.corners[1].z(), 1e-16);
    EXPECT_DOUBLE_EQ(installed.renderCentre.x(), 0.0);
    EXPECT_DOUBLE_EQ(installed.renderCentre.y(), 0.0);
    EXPECT_EQ(installed.renderCentre.z(), 1e-16);
    EXPECT_EQ(installed.lowest, 1e-16);
}

TEST(HostOverlayStoreTest, FilesAccumulateUnderTheFirstTransform)
{
    HostFileFolder dir;
    HostOverlayStore store;
    SceneFrame frame;
    auto first = hostfile::MakeOverlayExample(3, 2, 1);
    store.Install(ReadOverlay(dir, first), frame);
    const MTRX kept = frame.surveyTransform;

    auto second = hostfile::MakeOverlayExample(1, 0, 0);
    second.originA += 500.0;             // a set transform stays as it is
    second.polygons = {{}};              // m = 0: an empty polygon record
    second.points = {{5.0, 6.0, -3.5, 0x123456}};
    const auto installed = store.Install(ReadOverlay(dir, second), frame);
    EXPECT_EQ(frame.surveyTransform, kept);
    EXPECT_EQ(store.points.size(), 4u);
    EXPECT_EQ(store.segments.size(), 2u);
    ASSERT_EQ(store.polygons.size(), 2u);
    EXPECT_EQ(store.polygons[1].poly.GetCount(), 0);
    PT expected(5.0, 6.0, -3.5);
    kept.XY(expected);
    EXPECT_DOUBLE_EQ(store.points[3].pt.x(), expected.x());
    EXPECT_DOUBLE_EQ(store.points[3].pt.y(), expected.y());
    EXPECT_EQ(store.points[3].pt.z(), -3.5);
    EXPECT_EQ(store.points[3].colour, 0x123456u);
    EXPECT_EQ(installed.lowest, -3.5);
    EXPECT_EQ(installed.renderCentre.z(), -3.5);
    store.Clear();
    EXPECT_TRUE(store.Empty());
}

}  // namespace
