#include "viewer/commands/ModelClearing.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool Has(const std::vector<DrawableKind>& kinds, DrawableKind k)
{
    return std::find(kinds.begin(), kinds.end(), k) != kinds.end();
}

} // namespace

TEST(ModelClearingKinds, EachFlagReleasesTheDrawablesOfItsContent)
{
    struct Case {
        std::uint16_t flags;
        std::uint16_t version;
        DrawableKind kind;
        bool released;
    } cases[] = {
        {0x01, 0x102, DrawableKind::GroupCloud, true},      {0x01, 0x102, DrawableKind::GroupTinFaces, false},
        {0x02, 0x102, DrawableKind::GroupTinEdges, true},   {0x02, 0x102, DrawableKind::GroupCloud, false},
        {0x04, 0x101, DrawableKind::CadFigure, true},       {0x04, 0x101, DrawableKind::CadTinFaces, true},
        {0x04, 0x102, DrawableKind::CadTinFaces, false},    {0x04, 0x103, DrawableKind::CadTinVertices, false},
        {0x08, 0x102, DrawableKind::ViewCloud, true},       {0x08, 0x102, DrawableKind::ViewCloudTinFaces, true},
        {0x10, 0x102, DrawableKind::PartLayer, true},       {0x20, 0x102, DrawableKind::CadTinTextured, true},
        {0x40, 0x102, DrawableKind::BuildTinFaces, true},   {0x40, 0x102, DrawableKind::ChimneyTinVertices, true},
        {0x3F, 0x102, DrawableKind::RailRoadTinEdges, false}, {0xFFFF, 0x102, DrawableKind::HighTowerTinFaces, true},
        {0xFFFF, 0x102, DrawableKind::HostPolygons, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.flags << " " << c.version << " " << static_cast<int>(c.kind));
        EXPECT_EQ(Has(clearing::KindsToRelease(c.flags, c.version), c.kind), c.released);
    }
}

TEST(ModelClearingKinds, NoFlagsReleaseNothingAndNoKindTwice)
{
    EXPECT_TRUE(clearing::KindsToRelease(0, 0x102).empty());
    auto all = clearing::KindsToRelease(0xFFFF, 0x101);
    auto sorted = all;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end());
}
