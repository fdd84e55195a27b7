// The example site in a real view: CAD figures on two layers, both part sets, a
// building and a chimney, the triad and the cube, seen from above and obliquely,
// and a polygon selection with its highlighted points. With
// TESSARA_SCREENSHOT_DIR set, the pictures are kept there (scripts/screenshot-overlays.sh).
#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "ModelText.h"
#include "TestView.h"
#include "ViewTestApp.h"
#include "outside/CModelDataMng.h"
#include "platform/MemoryProfile.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/files/SceneFrame.h"

namespace {

class SiteView : public TestView {
public:
    void SetEditMode(std::uint8_t mode) { m_editMode = mode; }
};

class SiteViewTest : public ::testing::Test {
protected:
    static constexpr int kW = 640, kH = 480;

    void SetUp() override
    {
        EnsureViewTestApp();
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        m_view = std::make_unique<SiteView>();
        m_view->resize(kW, kH);
        m_view->show();
        ASSERT_TRUE(ProcessEventsUntil([this] { return m_view->sceneFrames > 0; }));
        std::ifstream in(std::string(TESSARA_SOURCE_DIR_PATH) + "/examples/models/small-site.txt");
        std::stringstream text;
        text << in.rdbuf();
        ModelViewState state;
        std::string error;
        {
            std::lock_guard lock(m_view->ViewMutex());
            ASSERT_TRUE(ModelText::Read(text.str(), m_view->ModelStore(), state, error)) << error;
        }
        ViewSettings& s = m_view->Settings();
        // What a host load with CAD figures and a part drawing switches on.
        s.cadSwitch = 1;
        s.partSwitch = 1;
        s.tinEdgeSwitch = 1;
        s.tinPointSwitch = 1;
        s.xyzMark = 1;
        s.compassMark = 1;
        s.hideFiguresWithoutZ = 0;
        s.tinPictureMode = 2;
        s.pointSizeIndex = 4;
        m_view->m_pointColourMode = 5;  // group colours
        m_view->LookAt() = QVector3D(5, 5, 0);
        m_view->Zoom() = 30.0f;
        m_view->InvalidateAllBuffers();
    }

    QImage Frame()
    {
        const int before = m_view->sceneFrames;
        m_view->InvalidateScene();
        EXPECT_TRUE(ProcessEventsUntil([&] { return m_view->sceneFrames > before; }));
        return m_view->grabFramebuffer();
    }

    static void Keep(const QImage& image, const char* name)
    {
        if (const char* dir = std::getenv("TESSARA_SCREENSHOT_DIR")) image.save(QString::fromUtf8(dir) + "/" + name);
    }

    // Pixels that differ from the corner's (the background).
    static int Drawn(const QImage& image)
    {
        const QRgb background = image.pixel(image.width() / 2, 2);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != background ? 1 : 0;
        return n;
    }

    std::unique_ptr<SiteView> m_view;
};

TEST_F(SiteViewTest, TopAndObliqueViewsAndAPolygonSelection)
{
    const QImage top = Frame();
    Keep(top, "site-top.png");
    EXPECT_GT(Drawn(top), 5000);

    // A polygon over the lower half of the ground selects the points there.
    m_view->SetEditMode(1);
    m_view->BuffersState().pick->keys = [] { return PolygonSelection::Keys{}; };
    const std::vector<QPoint> polygon{{150, 250}, {490, 250}, {490, 400}, {150, 400}};
    EXPECT_EQ(m_view->SelectByScreenPolygon(polygon, 0), 1);
    ASSERT_EQ(m_view->BuffersState().pickBuckets.size(), 1u);
    EXPECT_EQ(m_view->BuffersState().pickBuckets[0].group, 0);
    EXPECT_EQ(m_view->BuffersState().pickBuckets[0].points, (std::vector<std::uint64_t>{0, 1}));
    const QImage selected = Frame();
    Keep(selected, "site-selection.png");
    EXPECT_NE(selected, top);

    m_view->ApplyRotation(-50.0f, 1.0f, 0.0f, 0.0f);
    m_view->ApplyRotation(-30.0f, 0.0f, 1.0f, 0.0f);
    // Keep the site in the middle of the window.
    const QVector3D middle = m_view->ModelMatrix().map(QVector3D(5, 5, 11));
    m_view->LookAt() = QVector3D(middle.x(), middle.y(), m_view->LookAt().z());
    const QImage oblique = Frame();
    Keep(oblique, "site-oblique.png");
    EXPECT_NE(oblique, selected);
}

}  // namespace

// The ribbon's CAD and part switches change the very next frame, without any
// other command rebuilding the scene; switching back gives the first picture.
TEST_F(SiteViewTest, CadAndPartSwitchesChangeTheNextFrame)
{
    m_view->Create();
    m_view->Settings().sizeCaption = 0;  // the switches also ask for the labels again
    struct Case {
        unsigned id;
        int ViewSettings::*field;
    } cases[] = {{32782, &ViewSettings::cadSwitch}, {32783, &ViewSettings::partSwitch}};
    for (const Case& c : cases) {
        const QImage shown = Frame();
        const auto* toggle = m_view->Commands().FindCommand(c.id);
        ASSERT_NE(toggle, nullptr) << c.id;
        (*toggle)();
        ASSERT_EQ(m_view->Settings().*c.field, 0) << c.id;
        const QImage hidden = Frame();
        EXPECT_NE(hidden, shown) << c.id;
        (*toggle)();
        EXPECT_EQ(Frame(), shown) << c.id;
    }
}
