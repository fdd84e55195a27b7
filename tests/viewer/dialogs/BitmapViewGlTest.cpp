#include "viewer/dialogs/BitmapFile.h"

#include <gtest/gtest.h>


#include <filesystem>
#include <memory>

#include "BitmapTestPicture.h"
#include "platform/Files.h"
#include "tests/viewer/render/ViewTestApp.h"
#include "viewer/render/COpenGLBaseView.h"

namespace {

// A view whose picture is known: the clear colour (0x20, 0x40, 0x60) with a red
// quad of 20 x 10 pixels in its top left corner.
class PictureView : public COpenGLBaseView {
public:
    // Layers clear to the background with alpha 0, as the main view clears them.
    void SetBackgroundColor() override { Gl()->glClearColor(0x20 / 255.0f, 0x40 / 255.0f, 0x60 / 255.0f, 0.0f); }
    void DrawBackgroundGradient() override
    {
        GlFunctions& gl = *Gl();
        gl.glEnable(GL_SCISSOR_TEST);
        gl.glScissor(0, ClientHeight() - 10, 20, 10);   // window rows count from the bottom
        gl.glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        gl.glClear(GL_COLOR_BUFFER_BIT);
        gl.glDisable(GL_SCISSOR_TEST);
    }
};

class BitmapViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        std::string pattern = tessara::TempFolder() + "bitmap-view-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern + "/";
        m_view = std::make_unique<PictureView>();
        m_view->resize(100, 50);
    }
    void TearDown() override
    {
        m_view.reset();
        std::filesystem::remove_all(m_folder);
    }
    void ShowAndWaitForAFrame()
    {
        m_view->show();
        ASSERT_TRUE(ProcessEventsUntil([this] { return m_view->SceneFrameCount() > 0; }));
    }
    std::string m_folder;
    std::unique_ptr<PictureView> m_view;
};

}  // namespace

TEST_F(BitmapViewTest, SavesTheViewsPictureBottomUpInBgra)
{
    ShowAndWaitForAFrame();
    ASSERT_EQ(m_view->ClientWidth(), 100);
    ASSERT_EQ(m_view->ClientHeight(), 50);
    const std::string path = m_folder + "view.bmp";
    ASSERT_TRUE(WriteBitmapFile(*m_view, path));

    const std::string bytes = tessara::ReadWholeFile(path).value_or("");
    ASSERT_EQ(bytes.size(), 20054u);
    // The first stored pixel is the bottom left one: the clear colour, opaque.
    EXPECT_EQ(bytes.substr(54, 4), std::string("\x60\x40\x20\xFF", 4));
    // The last stored row is the top one: red from its first pixel.
    const std::size_t topRow = 54 + 49u * 100u * 4u;
    EXPECT_EQ(bytes.substr(topRow, 4), std::string("\x00\x00\xFF\xFF", 4));

    ExpectTestPictureFile(path);
}

TEST_F(BitmapViewTest, RefusesSizesBeyondTheFrameAndViewsWithoutAPicture)
{
    const std::string path = m_folder + "view.bmp";
    EXPECT_FALSE(WriteBitmapFile(*m_view, path)) << "a view never shown has no picture";
    ShowAndWaitForAFrame();
    std::vector<std::uint8_t> bgra;
    EXPECT_FALSE(ReadViewPicture(*m_view, 101, 50, bgra));
    EXPECT_FALSE(ReadViewPicture(*m_view, 100, 51, bgra));
    EXPECT_FALSE(ReadViewPicture(*m_view, 0, 50, bgra));
    EXPECT_FALSE(ReadViewPicture(*m_view, 40000, 40000, bgra));
    EXPECT_TRUE(bgra.empty());
    ASSERT_TRUE(ReadViewPicture(*m_view, 20, 10, bgra));
    EXPECT_EQ(bgra.size(), 800u);
    EXPECT_FALSE(WriteBitmapFile(*m_view, m_folder + "missing/view.bmp"));
    EXPECT_FALSE(tessara::FolderExists(m_folder + "missing"));
    EXPECT_FALSE(tessara::FileExists(path));
}
