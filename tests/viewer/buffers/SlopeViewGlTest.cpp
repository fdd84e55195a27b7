// The whole view on the example slope file: loaded through fake-host over the
// pipe, drawn with points by height and the TIN by height from above, kept as a
// PNG, and checked pixel by pixel, then read back from the pick layers.
#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/GradationLookup.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/PickLayerSet.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/render/CModelViewerView.h"
#include "viewer/render/TextureFile.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "platform/ScriptedMessageBoxes.h"

#include "../render/TestView.h"
#include "../render/ViewTestApp.h"

#include <QApplication>
#include <QImage>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Window pixel (x right, y up) of a user-space point.
bool WindowPixel(TestView& view, const PT& user, int& x, int& y)
{
    PT model = user;
    view.ModelStore().UserToModel(model);
    QVector3D window;
    if (!view.ProjectToWindow(QVector3D(float(model.x()), float(model.y()), float(model.z())), window)) return false;
    x = static_cast<int>(window.x());
    y = static_cast<int>(window.y());
    return x >= 0 && y >= 0 && x < view.ClientWidth() && y < view.ClientHeight();
}

std::uint32_t LayerPixel(TestView& view, COpenGLBaseView::Layer layer, int x, int y)
{
    GlFunctions& gl = *view.Gl();
    std::uint32_t rgba = 0;
    view.BindLayer(layer);
    gl.glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &rgba);
    view.BindWindowFramebuffer();
    return rgba;
}

// The display colour a point takes in height mode, as the build makes it.
std::uint32_t HeightColour(const CModelViewerView& view, float z, COLORREF pointColour, double zmin, double zmax)
{
    const COLORREF colour = pointColour == 0 ? 0xFFFFFFu : pointColour;
    const float o = static_cast<float>(colour & 0xFF) * 0.004f * 0.7f;
    float r = 0, g = 0, b = 0;
    const double t = (static_cast<double>(z) - zmin) * (255.0 / (zmax - zmin));
    if (t >= 0.0 && t <= 255.0)
        LookupGradationColor(static_cast<float>(t), r, g, b, view.Settings().gradation.GetCurColorConf());
    const int bright = view.Settings().colourBrightness;
    return GlBufferOps::PackRgba(ApplyBrightness(bright, std::max(r - o, 0.05f)),
                                 ApplyBrightness(bright, std::max(g - o, 0.05f)),
                                 ApplyBrightness(bright, std::max(b - o, 0.05f)));
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

// A folder of this test program under the temporary folder, made.
fs::path WorkFolder(const std::string& name)
{
    const fs::path work = fs::temp_directory_path() / ("tessara-" + name + "-" + std::to_string(::getpid()));
    fs::create_directories(work);
    return work;
}

// Writes a 2 x 2 24-bit picture.
bool WriteSmallPicture(const fs::path& path)
{
    const unsigned char bytes[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,
                                   1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                   1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool written = std::fwrite(bytes, 1, sizeof(bytes), f) == sizeof(bytes);
    return std::fclose(f) == 0 && written;
}

// Shows the view at the size given, creates it and waits for its first scene frame.
bool ShowUntilDrawn(TestView& view, int width, int height)
{
    view.resize(width, height);
    view.show();
    view.Create();
    return ProcessEventsUntil([&] { return view.IsGlReady() && view.sceneFrames > 0; }, 20000);
}

}  // namespace

TEST(SlopeView, PointsAndTinByHeightFromAbove)
{
    EnsureViewTestApp();
    const fs::path source = TESSARA_SOURCE_DIR_PATH;
    // Test programs live in <build>/tests, programs in <build>/bin.
    const fs::path binary = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    const fs::path work = WorkFolder("slope");
    const fs::path copy = work / "slope-group.dat";
    fs::copy_file(source / "examples/viewer/slope-group.dat", copy, fs::copy_options::overwrite_existing);

    TestView view;
    ASSERT_TRUE(ShowUntilDrawn(view, 640, 480));

    // The host sends command 1 with the copy; the viewer deletes what it loaded.
    std::atomic<int> hostResult{-1};
    std::thread host([&] {
        const std::string exe = (binary / "bin" / "fake-host").string();
        const std::string command = exe + " send 1 " + copy.string() + " > /dev/null";
        hostResult = std::system(command.c_str());
    });
    ASSERT_TRUE(ProcessEventsUntil([&] { return hostResult.load() != -1; }, 30000));
    host.join();
    ASSERT_EQ(hostResult.load(), 0);
    CModelDataMng& store = view.ModelStore();
    ASSERT_EQ(store.GetGroupCount(), 1);
    const CPCloudMng& group = *store.GetGroup(0);
    ASSERT_GT(group.GetCloudPointSize(), 0);
    ASSERT_GT(store.m_viewCloud.GetTriangleCount(), 0);

    // Colour mode 1, TIN mode 4, from above over the whole slope.
    view.m_pointColourMode = 1;
    view.Settings().tinPictureMode = 4;
    view.Settings().sizeCaption = 0;  // its box runs through the extreme points read below
    PT lo, hi;
    ASSERT_EQ(view.GetVisibleExtent(0x01 | 0x6A, 0, lo, hi), 1);
    PT centre((lo.x() + hi.x()) / 2, (lo.y() + hi.y()) / 2, (lo.z() + hi.z()) / 2);
    store.UserToModel(centre);
    view.LookAt() = QVector3D(float(centre.x()), float(centre.y()), float(centre.z()));
    view.Zoom() = static_cast<float>(0.8 * std::min(640.0 / (hi.x() - lo.x()), 480.0 / (hi.y() - lo.y())));
    view.UpdateProjection();
    view.UpdateModelView();
    const int framesBefore = view.sceneFrames;
    view.InvalidateScene();
    ASSERT_TRUE(ProcessEventsUntil([&] { return view.sceneFrames > framesBefore; }, 20000));
    QApplication::processEvents();

    const QImage shot = view.grabFramebuffer().convertToFormat(QImage::Format_RGBA8888);
    ASSERT_EQ(shot.width(), view.ClientWidth());
    cv::Mat rgba(shot.height(), shot.width(), CV_8UC4, const_cast<uchar*>(shot.constBits()),
                 static_cast<std::size_t>(shot.bytesPerLine()));
    cv::Mat bgra;
    cv::cvtColor(rgba, bgra, cv::COLOR_RGBA2BGRA);
    const fs::path png = binary / "slope-points-tin.png";
    ASSERT_TRUE(cv::imwrite(png.string(), bgra));
    const cv::Mat saved = cv::imread(png.string(), cv::IMREAD_COLOR);
    ASSERT_FALSE(saved.empty());
    const auto screen = [&](int x, int y) {  // window pixel (y up) from the saved PNG
        const cv::Vec3b bgr = saved.at<cv::Vec3b>(saved.rows - 1 - y, x);
        return std::uint32_t(bgr[2]) | std::uint32_t(bgr[1]) << 8 | std::uint32_t(bgr[0]) << 16 | 0xFF000000u;
    };

    // The lowest and highest points of the group, in the colours of their heights.
    std::size_t low = 0, high = 0;
    for (std::size_t i = 0; i < group.m_points.size(); ++i) {
        if (group.m_points[i].z < group.m_points[low].z) low = i;
        if (group.m_points[i].z > group.m_points[high].z) high = i;
    }
    for (std::size_t i : {low, high}) {
        const CPCloudMng::CloudPoint& p = group.m_points[i];
        int x = 0, y = 0;
        ASSERT_TRUE(WindowPixel(view, PT(p.x, p.y, p.z), x, y));
        const std::uint32_t expected = HeightColour(view, p.z, p.colour, lo.z(), hi.z());
        // A point on a pixel border lands on either side of it.
        bool found = false;
        for (int dy = -1; dy <= 1 && !found; ++dy)
            for (int dx = -1; dx <= 1 && !found; ++dx)
                found = Near(screen(x + dx, y + dy), expected, 1);
        EXPECT_TRUE(found) << "point " << i << " at " << x << "," << y << ": " << std::hex << screen(x, y)
                           << " expected " << expected;
    }
    // Outside the slope the picture holds only the background and the ground grid.
    const std::uint32_t corner = screen(3, 3);
    const std::uint32_t background = screen(view.ClientWidth() - 3, 3);
    EXPECT_TRUE(corner == background || Near(corner, 0xFF666666u, 1)) << std::hex << corner;

    // The pick entry never waits for the store: while another thread holds the
    // lock there is no pick re-render.
    {
        std::atomic<bool> locked{false}, release{false};
        std::thread worker([&] {
            std::lock_guard lock(view.ViewMutex());
            locked = true;
            while (!release) std::this_thread::yield();
        });
        while (!locked) std::this_thread::yield();
        EXPECT_FALSE(view.RenderPickLayers());
        release = true;
        worker.join();
    }

    // Pass 4: a pixel inside a triangle of the TIN holds the triangle's number in
    // the pick layers.
    view.makeCurrent();
    ASSERT_TRUE(view.RenderPickLayers());
    const CPCloudMng& tin = store.m_viewCloud;
    int checked = 0;
    for (int t = 0; t < tin.GetTriangleCount() && checked < 3; t += 7) {
        PT centroid(0, 0, 0);
        for (int k = 0; k < 3; ++k) {
            const CVertexMng::Vertex& v = tin.m_vertices[tin.m_triangles[std::size_t(t)][k]];
            centroid = centroid + PT(v.x / 3.0, v.y / 3.0, v.z / 3.0);
        }
        int x = 0, y = 0;
        if (!WindowPixel(view, centroid, x, y)) continue;
        float depth = 1.0f;
        std::array<std::uint8_t, 3> rgb{};
        ASSERT_TRUE(view.BuffersState().pickLayers->ReadPixel(SceneLayers::kTin, x, y, depth, rgb));
        const std::uint32_t id = rgb[0] | std::uint32_t(rgb[1]) << 8 | std::uint32_t(rgb[2]) << 16;
        EXPECT_EQ(id | 0xFF000000u, GlBufferOps::PickColour(std::uint64_t(t))) << "triangle " << t;
        // The picture's own TIN layer keeps the display colours.
        EXPECT_NE(LayerPixel(view, COpenGLBaseView::Layer::Tin, x, y), GlBufferOps::PickColour(std::uint64_t(t)));
        ++checked;
    }
    EXPECT_GT(checked, 0);
    // Pass 9 of the last frame: the highest point's pixel holds its number.
    int x = 0, y = 0;
    const CPCloudMng::CloudPoint& top = group.m_points[high];
    ASSERT_TRUE(WindowPixel(view, PT(top.x, top.y, top.z), x, y));
    EXPECT_EQ(LayerPixel(view, COpenGLBaseView::Layer::PointPick, x, y), GlBufferOps::PickColour(high));
    view.doneCurrent();
    fs::remove_all(work);
}

TEST(SlopeView, HostPictureFileIsDeletedOnlyOnceItIsTheTexture)
{
    EnsureViewTestApp();
    const fs::path work = WorkFolder("picture");
    TestView view;
    ASSERT_TRUE(ShowUntilDrawn(view, 320, 240));

    const fs::path bad = work / "bad.bmp";
    std::FILE* f = std::fopen(bad.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("BM not a bitmap", f);
    std::fclose(f);
    const std::size_t boxes = ScriptedBoxes().Count();
    EXPECT_EQ(view.LoadGeoTexture(bad.c_str(), 0, 0, 10, 10, 0), 0);
    EXPECT_TRUE(fs::exists(bad));
    ASSERT_EQ(ScriptedBoxes().Count(), boxes + 1);
    EXPECT_EQ(ScriptedBoxes().ShownBoxes().back().text,
              "テクスチャの作成に失敗しました\n\nメモリ不足の可能性があります。\n用紙サイズを小さくして試して下さい。");

    const fs::path picture = work / "picture.bmp";
    ASSERT_TRUE(WriteSmallPicture(picture));
    EXPECT_EQ(view.LoadGeoTexture(picture.c_str(), 0, 0, 10, 10, 0), 1);
    EXPECT_FALSE(fs::exists(picture));
    // A later failure keeps the texture the view holds.
    EXPECT_EQ(view.LoadGeoTexture(bad.c_str(), 0, 0, 10, 10, 0), 1);
    fs::remove_all(work);
}

TEST(SlopeView, ContextMenuHooksReadTheViewsLists)
{
    EnsureViewTestApp();
    TestView view;
    view.Settings().pointSizeIndex = 3;
    EXPECT_EQ(view.GetPointSizeIndex(), 3);
    EXPECT_EQ(view.GetSelectedElementCount(), 0u);
    view.BuffersState().selectedCadElements = {4, 9};
    EXPECT_EQ(view.GetSelectedElementCount(), 2u);
}

TEST(SlopeView, ReloadsReplaceTheBuffersWithoutLeavingNames)
{
    EnsureViewTestApp();
    const fs::path work = WorkFolder("reload");
    TestView view;
    ASSERT_TRUE(ShowUntilDrawn(view, 320, 240));
    view.m_pointColourMode = 1;
    view.Settings().tinPictureMode = 4;
    view.Settings().tinEdgeSwitch = 1;
    view.Settings().tinPointSwitch = 1;

    const auto liveBuffers = [&] {
        view.makeCurrent();
        GlFunctions& gl = *view.Gl();
        GLuint probe = 0;
        gl.glGenBuffers(1, &probe);
        gl.glDeleteBuffers(1, &probe);
        int live = 0;
        for (GLuint name = 1; name <= probe; ++name) live += gl.glIsBuffer(name) == GL_TRUE ? 1 : 0;
        return live;
    };
    const auto loadAndDraw = [&](int round) {
        const fs::path copy = work / ("slope-" + std::to_string(round) + ".dat");
        fs::copy_file(fs::path(TESSARA_SOURCE_DIR_PATH) / "examples/viewer/slope-group.dat", copy,
                      fs::copy_options::overwrite_existing);
        ASSERT_EQ(view.LoadHostDataFile(copy.string(), 0, 0), 1);
        const int before = view.sceneFrames;
        view.InvalidateScene();
        ASSERT_TRUE(ProcessEventsUntil([&] { return view.sceneFrames > before; }, 20000));
    };
    // Besides the few buffers of the axes and grid, every live buffer is one a
    // group, the view cloud or the CAD TIN holds.
    const auto heldNames = [&] {
        CModelDataMng& store = view.ModelStore();
        std::vector<CPCloudMng*> holders = {&store.m_viewCloud, &store.m_cadTin};
        for (auto& g : store.m_groups) holders.push_back(g.get());
        int held = 0;
        for (CPCloudMng* h : holders)
            if (GroupGpuData* d = h != nullptr ? GroupGpuData::Find(*h) : nullptr)
                for (GLuint* name : d->AllNames()) held += *name != 0 ? 1 : 0;
        return held;
    };
    int others = -1;
    for (int round = 0; round < 4; ++round) {
        loadAndDraw(round);
        EXPECT_GT(heldNames(), 0);
        const int unheld = liveBuffers() - heldNames();
        if (others < 0) others = unheld;
        EXPECT_EQ(unheld, others) << "after load " << round;
    }
    EXPECT_LE(others, 8);
    EXPECT_EQ(view.Gl()->glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    view.doneCurrent();
    fs::remove_all(work);
}

namespace {

// Runs a program of the build with its output dropped, pumping the view's events
// until it ends; answers its exit status.
int RunBuildProgram(const std::string& arguments)
{
    const fs::path binary = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    std::atomic<int> result{-1};
    std::thread child([&] {
        const std::string command = (binary / "bin").string() + "/" + arguments + " > /dev/null";
        result = std::system(command.c_str());
    });
    const bool ended = ProcessEventsUntil([&] { return result.load() != -1; });
    child.join();
    return ended ? result.load() : -1;
}

// Window pixels in the overlay points' red.
int RedPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80 ? 1 : 0;
        }
    return n;
}

}  // namespace

// The host's overlay commands redraw the scene themselves: a new overlay shows and
// a cleared one goes on the frame that follows the command, with no other input.
TEST(HostOverlayView, CommandsTwentyAndTwentyOneRedrawWithoutOtherInput)
{
    EnsureViewTestApp();
    const fs::path work = WorkFolder("overlay");
    TestView view;
    ASSERT_TRUE(ShowUntilDrawn(view, 320, 240));
    // Nothing else red in the picture: no axis, triad or compass.
    for (int ViewSettings::*aid : {&ViewSettings::paper, &ViewSettings::grid, &ViewSettings::axis,
                                   &ViewSettings::xyzMark, &ViewSettings::compassMark})
        view.Settings().*aid = 0;
    const auto sendOverlay = [&] {
        const fs::path file = work / "overlay.dat";
        ASSERT_EQ(RunBuildProgram("make-hostfile --overlay 3,0,0 " + file.string()), 0);
        ASSERT_EQ(RunBuildProgram("fake-host send 20 " + file.string()), 0);
    };
    // A command answered, then the scene frame it asked for.
    const auto nextFrameAfter = [&](const std::function<void()>& command) {
        const int before = view.sceneFrames;
        command();
        EXPECT_TRUE(ProcessEventsUntil([&] { return view.sceneFrames > before; })) << "no scene frame followed";
        return view.grabFramebuffer();
    };

    nextFrameAfter(sendOverlay);
    // The camera over the overlay's three points, for the frames that follow.
    {
        std::lock_guard lock(view.ViewMutex());
        const auto& points = view.BuffersState().hostOverlay.points;
        ASSERT_EQ(points.size(), 3u);
        PT middle = points[1].pt;
        view.ModelStore().UserToModel(middle);
        view.LookAt() = QVector3D(float(middle.x()), float(middle.y()), float(middle.z()));
        view.Zoom() = 40.0f;
    }
    view.UpdateProjection();
    view.UpdateModelView();
    const QImage shown = nextFrameAfter([&] { view.InvalidateScene(); });
    ASSERT_GT(RedPixels(shown), 20) << "the overlay's points are in view";

    const QImage cleared = nextFrameAfter([] { ASSERT_EQ(RunBuildProgram("fake-host send 21"), 0); });
    EXPECT_EQ(RedPixels(cleared), 0);
    const QImage again = nextFrameAfter(sendOverlay);
    EXPECT_EQ(RedPixels(again), RedPixels(shown));
    fs::remove_all(work);
}

// Each host load brings the paper rectangle and the size labels up to date on the
// frame that follows: the paper is the host's sheet, the labels' box the new data.
TEST(HostLoadView, PaperAndSizeLabelsFollowEveryLoad)
{
    EnsureViewTestApp();
    const fs::path work = WorkFolder("paper");
    TestView view;
    ASSERT_TRUE(ShowUntilDrawn(view, 320, 240));
    view.Settings().paper = 1;
    view.Settings().sizeCaption = 1;
    ModelViewerViewTestPeer peer(view);
    // The host's sheet in model coordinates, as the paper should show it: the four
    // corners, each segment's ends in turn.
    const auto sheet = [&] {
        std::vector<float> v;
        std::lock_guard lock(view.ViewMutex());
        const auto& corners = view.FilesState().scene.frame.corners;
        for (int i = 0; i < 4; ++i)
            for (const PT& c : {corners[std::size_t(i)], corners[std::size_t((i + 1) % 4)]}) {
                PT m = c;
                view.ModelStore().UserToModel(m);
                v.insert(v.end(), {float(m.x()), float(m.y()), 0.0f});
            }
        return v;
    };
    const auto paper = [&] {
        view.makeCurrent();
        const std::vector<float> v = peer.PaperVertices();
        view.doneCurrent();
        return v;
    };
    // The size labels' box against the extent of the groups shown.
    const auto labelsFit = [&] {
        PT lo, hi;
        const ViewBuffersState& st = view.BuffersState();
        return view.GetVisibleExtent(0x01, 1, lo, hi) == 1 && st.captionValid == 1 && st.captionMax.x() == hi.x() &&
               st.captionMax.y() == hi.y() && st.captionMin.x() == lo.x();
    };
    for (int points : {100, 900}) {
        const fs::path file = work / ("load" + std::to_string(points) + ".dat");
        ASSERT_EQ(RunBuildProgram("make-hostfile --points " + std::to_string(points) + " " + file.string()), 0);
        ASSERT_EQ(RunBuildProgram("fake-host send 1 " + file.string()), 0);
        // The load's own frame brings both; nothing else asks for one.
        EXPECT_TRUE(ProcessEventsUntil([&] { return paper() == sheet() && labelsFit(); })) << points << " points";
        EXPECT_EQ(paper(), sheet()) << points << " points";
        EXPECT_TRUE(labelsFit()) << points << " points";
    }
    fs::remove_all(work);
}

// The private copy of the TIN's picture goes with the view.
TEST(SlopeView, TheTextureCopyIsRemovedWhenTheViewEnds)
{
    EnsureViewTestApp();
    const fs::path work = WorkFolder("texture-copy");
    const fs::path file = work / "site.bmp";
    ASSERT_TRUE(WriteSmallPicture(file));
    const std::string copy = TextureFile::TempCopyPath();
    {
        TestView view;
        ASSERT_TRUE(ShowUntilDrawn(view, 160, 120));
        ASSERT_EQ(view.LoadGeoTexture(file.c_str(), 0, 0, 10, 10, 0), 1);
        EXPECT_TRUE(fs::exists(copy)) << copy;
    }
    EXPECT_FALSE(fs::exists(copy)) << copy;
    fs::remove_all(work);
}
