// The cross-section of the fixture ridge seen at a slant: the sheet with its grid
// and labels standing on the section line, the profile, its hits and the three
// hints, checked on the screen's own picture and kept as a PNG (in
// TESSARA_SCREENSHOT_DIR when set, else beside the test programs;
// scripts/screenshot-cross-section.sh keeps it as docs/screenshots/cross-section.png).
#include "SectionViewSupport.h"

#include "viewer/commands/CrossSection.h"
#include "viewer/dialogs/HintSlots.h"
#include "viewer/dialogs/HintToolTip.h"
#include "viewer/dialogs/LegendSlots.h"
#include "viewer/render/ViewConstants.h"
#include "platform/MemoryProfile.h"
#include "platform/Profile.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int kViewWidth = 800;
constexpr int kViewHeight = 560;

int CountPixels(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == colour;
    return count;
}

class SectionScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        m_view = std::make_unique<SectionPickView>();
        SetPopupSources([this]() -> QWidget* { return m_view.get(); }, [this]() -> QWidget* { return m_view.get(); });
        m_view->move(0, 0);
        m_view->resize(kViewWidth, kViewHeight);
        m_view->show();
        m_view->Create();
        ASSERT_TRUE(ProcessEventsUntil([this] { return m_view->IsGlReady() && m_view->sceneFrames > 0; }));
    }
    void TearDown() override
    {
        for (int kind = 1; kind <= 7; ++kind)
            CloseToolTip(kind);
        SetPopupSources({}, {});
        m_view.reset();
    }
    QImage Screen() const
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, 0, 0, kViewWidth, kViewHeight)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    std::unique_ptr<SectionPickView> m_view;
};

}  // namespace

TEST_F(SectionScreenshotTest, SheetGridLabelsAndHintsOverTheRidge)
{
    ASSERT_NO_FATAL_FAILURE(LoadSectionFixture(*m_view));
    m_view->Settings().background = 2;   // white, so the red sheet reads
    m_view->Settings().sectionPointSpacingM = 0.05;  // TIN crossings beside the points stay
    m_view->OnShowUp();
    m_view->Zoom() *= 0.9f;
    m_view->UpdateModelView();
    const auto* command = m_view->Commands().FindCommand(35211);
    ASSERT_NE(command, nullptr);
    (*command)();
    ASSERT_TRUE(m_view->ClickAtUser(2.0, 7.05, 16.35));
    ASSERT_TRUE(m_view->ClickAtUser(28.0, 7.05, 16.03));
    ASSERT_NE(m_view->CurrentSectionSheet(), nullptr);
    // Tilt the scene so the sheet standing on the line shows its face, and bring
    // it down into the middle of the window.
    m_view->ApplyRotation(-40.0f, 1.0f, 0.0f, 0.0f);
    m_view->LookAt().setY(m_view->LookAt().y() + 4.0f);
    m_view->UpdateModelView();
    m_view->InvalidateScene();

    QImage shot;
    const bool shown = ProcessEventsUntil([&] {
        shot = Screen();
        if (OpenHint(5) == nullptr || OpenHint(6) == nullptr || OpenHint(7) == nullptr)
            return false;
        // Hints are painted once shown: black text on a light face.
        for (int kind : {5, 6, 7})
        {
            const QRect hint = OpenHint(kind)->geometry();
            if (CountPixels(shot, hint, 0x000000) * 2 > hint.width() * hint.height())
                return false;
        }
        return CountPixels(shot, QRect(0, 0, kViewWidth, kViewHeight), 0xFF0000) > 2000;
    });
    const char* dir = std::getenv("TESSARA_SCREENSHOT_DIR");
    const fs::path folder = dir != nullptr ? fs::path(dir) : fs::read_symlink("/proc/self/exe").parent_path();
    ASSERT_TRUE(shot.save(QString::fromStdString((folder / "cross-section.png").string())));
    ASSERT_TRUE(shown) << "the sheet and its three hints never showed";

    const SectionSheet& sheet = *m_view->CurrentSectionSheet();
    EXPECT_GT(sheet.labels, 0) << "the stroke font wrote no label";
    // No hint hides a label of the sheet or another hint.
    const std::vector<QRect> labels = m_view->SectionLabelsOnScreen();
    EXPECT_EQ(labels.size(), static_cast<std::size_t>(sheet.labels));
    for (int kind : {5, 6, 7}) {
        const QRect hint = OpenHint(kind)->geometry();
        for (const QRect& label : labels)
            EXPECT_FALSE(hint.intersects(label)) << "hint " << kind << " covers the label at " << label.x() << ","
                                                 << label.y();
        for (int other : {5, 6, 7}) {
            if (other != kind) {
                EXPECT_FALSE(hint.intersects(OpenHint(other)->geometry())) << kind << " on " << other;
            }
        }
    }
    EXPECT_TRUE(sheet.stationGrid && sheet.elevationGrid);
    // The length hint stands below the sheet's middle; its text is black on the hint.
    const QRect lengthHint = OpenHint(7)->geometry();
    EXPECT_GT(CountPixels(shot, lengthHint, 0x000000), 20);
    // Red sheet lines around the middle of the section line's projection.
    const PT& anchor = sheet.anchors[0];
    QVector3D window;
    ASSERT_TRUE(m_view->ProjectToWindow(QVector3D(float(anchor.x()), float(anchor.y()), float(anchor.z())), window));
    const QRect below(int(window.x()) - 150, kViewHeight - int(window.y()) - 200, 300, 200);
    EXPECT_GT(CountPixels(shot, below, 0xFF0000), 300);

}
