// The pane's drawn image strips: their sizes and counts, the colours a low-colour
// strip may use, the mask, a pixel or two of known images, and the pane using them.
#include "viewer/grouppane/CGroupView.h"
#include "viewer/grouppane/GroupImages.h"

#include "tests/viewer/grouppane/GroupPaneTestData.h"
#include "tests/viewer/render/ViewTestApp.h"

#include <QPixmap>

#include <gtest/gtest.h>

#include <algorithm>

using namespace grouppane;

namespace {

struct StripCase {
    unsigned bitmap;
    int count;
    int width;
    int height;
    bool standardColoursOnly;
};

const StripCase kStrips[] = {
    {kTreeImages, 7, 16, 16, true},
    {kTreeImagesHighColour, 7, 16, 16, false},
    {kToolBarImages, 2, 16, 15, true},
    {kToolBarImagesHighColour, 2, 16, 15, false},
};

QRgb Pixel(const QIcon& icon, int x, int y)
{
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32).pixel(x, y);
}

} // namespace

TEST(GroupImages, StripsHoldTheirImagesSideBySideOnTheMask)
{
    EnsureViewTestApp();
    for (const StripCase& c : kStrips) {
        SCOPED_TRACE(c.bitmap);
        const QImage strip = DrawImageStrip(c.bitmap);
        ASSERT_EQ(strip.width(), c.count * c.width);
        ASSERT_EQ(strip.height(), c.height);
        bool outsideStandard = false;
        for (int i = 0; i < c.count; ++i) {
            // Each image draws something and leaves its bottom right corner to the mask.
            int drawn = 0;
            for (int y = 0; y < c.height; ++y)
                for (int x = i * c.width; x < (i + 1) * c.width; ++x) {
                    const QRgb p = strip.pixel(x, y) | 0xFF000000u;
                    drawn += p != kMaskColour;
                    const auto& std16 = StandardColours();
                    outsideStandard |= std::find(std16.begin(), std16.end(), p) == std16.end();
                }
            EXPECT_GT(drawn, 10) << "image " << i;
            EXPECT_EQ(strip.pixel((i + 1) * c.width - 1, c.height - 1) | 0xFF000000u, kMaskColour) << "image " << i;
        }
        EXPECT_EQ(outsideStandard, !c.standardColoursOnly);
        const std::vector<QIcon> icons = ImageList(c.bitmap);
        ASSERT_EQ(icons.size(), static_cast<std::size_t>(c.count));
        EXPECT_EQ(qAlpha(Pixel(icons[0], c.width - 1, c.height - 1)), 0) << "the mask reads as transparent";
    }
    EXPECT_TRUE(DrawImageStrip(35001).isNull());
    EXPECT_TRUE(ImageList(35001).empty());
    EXPECT_EQ(TreeImageBitmap(8), kTreeImages);
    EXPECT_EQ(TreeImageBitmap(24), kTreeImagesHighColour);
    EXPECT_EQ(ToolBarImageBitmap(4), kToolBarImages);
    EXPECT_EQ(ToolBarImageBitmap(32), kToolBarImagesHighColour);
}

TEST(GroupImages, KnownPixelsOfTheTinAndGroupImages)
{
    EnsureViewTestApp();
    struct PixelCase {
        unsigned bitmap;
        int image;
        int x, y;
        QRgb expected;
    };
    const PixelCase cases[] = {
        {kTreeImages, grouptree::kImageTin, 5, 12, qRgb(0, 255, 255)},       // first triangle: aqua
        {kTreeImages, grouptree::kImageGroup, 2, 3, qRgb(192, 192, 192)},    // group box: silver
        {kTreeImagesHighColour, grouptree::kImageTin, 5, 12, qRgb(80, 180, 190)},
        {kTreeImagesHighColour, grouptree::kImageGroup, 2, 3, qRgb(200, 200, 200)},
        {kToolBarImages, 1, 10, 6, qRgb(255, 255, 255)},                    // hide all: an empty box
        {kToolBarImages, 0, 10, 8, qRgb(0, 128, 0)},                        // show all: its tick
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.bitmap * 100 + c.image);
        const int width = c.bitmap == kTreeImages || c.bitmap == kTreeImagesHighColour ? kTreeImageWidth : kToolImageWidth;
        EXPECT_EQ(DrawImageStrip(c.bitmap).pixel(c.image * width + c.x, c.y) | 0xFF000000u, c.expected);
    }
}

TEST(GroupImages, TheSwatchCoversTheGroupImageLessItsEdges)
{
    EnsureViewTestApp();
    const std::vector<QIcon> icons = ImageList(kTreeImages);
    const QIcon swatch = GroupImageWithSwatch(icons[grouptree::kImageGroup], QColor(10, 200, 30));
    for (const auto& [x, y] : {std::pair{0, 2}, {13, 2}, {0, 13}, {13, 13}, {6, 8}})
        EXPECT_EQ(Pixel(swatch, x, y), qRgb(10, 200, 30)) << x << "," << y;
    EXPECT_NE(Pixel(swatch, 14, 8), qRgb(10, 200, 30));  // the image's right edge stays
    EXPECT_EQ(qAlpha(Pixel(swatch, 8, 0)), 0);          // above the swatch: masked
}

TEST(GroupImages, ThePaneUsesTheDrawnImagesAndPaintsTheGroupColour)
{
    EnsureViewTestApp();
    CModelDataMng store;
    CPCloudMng& site = grouppanetest::FillScene(store);
    site.m_nColor = 0x00FF8000;  // blue 255, green 128 (COLORREF order)
    CGroupView pane([] { return nullptr; }, nullptr);
    ASSERT_EQ(pane.Images().size(), 7u);
    pane.RebuildTree(store);
    const auto icon = [&](const grouptree::NodeKey& key) {
        QTreeWidgetItem* item = pane.ItemOf(key);
        return item != nullptr ? item->icon(0) : QIcon();
    };
    const std::uint64_t id = grouptree::GroupId(site);
    EXPECT_EQ(Pixel(icon({grouptree::NodeKind::GroupTin, id, 0}), 5, 12), Pixel(pane.ImageOf(grouptree::kImageTin), 5, 12));
    EXPECT_EQ(Pixel(icon({grouptree::NodeKind::Group, id, 0}), 6, 8), qRgb(0, 128, 255));
    ASSERT_EQ(pane.ToolBar()->actions().size(), 2);
    for (QAction* action : pane.ToolBar()->actions())
        EXPECT_FALSE(action->icon().isNull());
}
