#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "platform/MessageBox.h"
#include "platform/ScriptedMessageBoxes.h"
#include "platform/Files.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/files/ExportHooks.h"
#include "viewer/files/ViewFilesState.h"

#include "../render/ViewTestApp.h"
#include "ExportTestSupport.h"
#include "FakeFrame.h"

#include <QImage>

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <filesystem>
#include <array>

using namespace exporttest;

namespace {

// Scripted boxes that also note a box shown while the view mutex is held.
class GuardedBoxes : public tessara::ScriptedMessageBoxes {
public:
    int Show(std::string_view text, std::string_view caption, unsigned flags, QWidget* owner) override
    {
        if (view && view->ViewMutex().HeldByThisThread()) ++underLock;
        return ScriptedMessageBoxes::Show(text, caption, flags, owner);
    }
    CModelViewerView* view = nullptr;
    int underLock = 0;
};

enum class Scene { Empty, HiddenPoints, ShownPoints, ShownTin };

struct SaveCase {
    const char* name;
    const char* file;          // in the scratch folder; "missing/..." for a folder that is not there
    Scene scene;
    bool optionsOk;            // the comma-text options dialog answers OK
    int result;
    const char* box;           // the one box shown, or null for none
    const char* status;        // the last status text, or null when not checked
    bool replaced;             // the old file gave way to a new one
};

class SaveDispatchTest : public ScratchFolderTest, public ::testing::WithParamInterface<SaveCase> {
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        EnsureViewTestApp();
        m_boxes = std::make_shared<GuardedBoxes>();
        m_previous = tessara::SetMessageBoxService(m_boxes);
        m_view = std::make_unique<CModelViewerView>();
        m_view->Create();   // binds the status message
        m_view->FilesState().scene.frame.surveyTransform = MTRX();
        // Settings live on in the test profile: each test starts with one file per save.
        m_view->Settings().lasSplitMode = 0;
        m_boxes->view = m_view.get();
        m_savedHooks = TheExportHooks();
    }
    void TearDown() override
    {
        TheExportHooks() = m_savedHooks;
        m_view.reset();
        tessara::SetMessageBoxService(m_previous);
        ScratchFolderTest::TearDown();
    }
    void Build(Scene scene)
    {
        CModelDataMng& store = m_view->ModelStore();
        store.m_nShowRoot = 1;
        if (scene == Scene::HiddenPoints) store.AddGroup(MakeLineGroup(20, /*shown=*/false));
        if (scene == Scene::ShownPoints || scene == Scene::ShownTin) store.AddGroup(MakeLineGroup(20));
        if (scene == Scene::ShownTin) {
            CPCloudMng& g = *store.GetGroup(0);
            g.m_nShowTin = 1;
            AddTin(g, 3, {{0, 1, 2}});
        }
    }

    std::shared_ptr<GuardedBoxes> m_boxes;
    std::shared_ptr<tessara::MessageBoxService> m_previous;
    std::unique_ptr<CModelViewerView> m_view;
    ExportHooks m_savedHooks;
};

TEST_P(SaveDispatchTest, ResultBoxStatusAndTheOldFile)
{
    const SaveCase& c = GetParam();
    Build(c.scene);
    TheExportHooks().commaTextOptions = [&](int& scale, int& axis, const std::string&) {
        scale = 4;
        axis = 1;
        return c.optionsOk;
    };
    TheExportHooks().landXmlAttributes = [](LxDATA_Project&, LxDATA_Application&, LxDATA_Coordinate&) {
        return true;
    };
    const std::string path = PathOf(c.file);
    const bool folderThere = std::filesystem::exists(std::filesystem::path(path).parent_path());
    if (folderThere) std::ofstream(path) << "old";

    EXPECT_EQ(m_view->SaveFile(path), c.result);
    const auto shown = m_boxes->ShownBoxes();
    if (c.box) {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, c.box);
        EXPECT_EQ(shown[0].caption, "ORVANE SurfLook(Free)");
    } else {
        EXPECT_TRUE(shown.empty());
    }
    if (c.status) {
        EXPECT_EQ(m_view->LastStatusText(), c.status);
    }
    EXPECT_EQ(m_boxes->underLock, 0);
    if (folderThere) {
        EXPECT_EQ(ReadAll(path) != "old", c.replaced);
    }
    // Nothing else left in the folder (no temporary siblings).
    if (folderThere) {
        EXPECT_EQ(Names(m_dir).size(), 1u);
    }
}

constexpr const char* kNoPoints = "保存する点群が存在しません。";
constexpr const char* kSaved = "ファイルを保存しました。";
constexpr const char* kFailed = "ファイルの保存に失敗しました。";

INSTANTIATE_TEST_SUITE_P(
    Table, SaveDispatchTest,
    ::testing::Values(
        SaveCase{"sim_hidden_points", "a.sim", Scene::HiddenPoints, true, 1, nullptr, "保存しました[a.sim]", true},
        SaveCase{"sim_upper_case", "a.SIM", Scene::HiddenPoints, true, 1, nullptr, "保存しました[a.SIM]", true},
        SaveCase{"sim_no_groups", "a.sim", Scene::Empty, true, 0, kNoPoints, nullptr, false},
        SaveCase{"sim_missing_folder", "missing/a.sim", Scene::ShownPoints, true, 0, kFailed, kFailed, false},
        SaveCase{"xyz_written", "a.xyz", Scene::ShownPoints, true, 1, kSaved, "保存しました[a.xyz]", true},
        SaveCase{"xyz_cancelled", "a.Xyz", Scene::ShownPoints, false, 0, nullptr, nullptr, false},
        SaveCase{"xyz_hidden_points", "a.xyz", Scene::HiddenPoints, true, 0, kNoPoints, nullptr, false},
        SaveCase{"las_hidden_points", "a.las", Scene::HiddenPoints, true, 0, kNoPoints, nullptr, false},
        SaveCase{"xml_no_tin", "a.xml", Scene::ShownPoints, true, 0, "保存するTINが存在しません。", nullptr, false},
        SaveCase{"xml_written", "a.XML", Scene::ShownTin, true, 1, kSaved, "LandXMLファイルを保存しました。", true},
        SaveCase{"bmp_writer_fails", "a.bmp", Scene::ShownPoints, true, 0, kFailed, "画像ファイルを保存できませんでした。",
                 false},
        SaveCase{"unhandled", "a.doc", Scene::ShownPoints, true, 0, nullptr, nullptr, false},
        SaveCase{"tpf_missing_folder", "missing/a.tpf", Scene::ShownPoints, true, 0, kFailed, kFailed, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaveDispatchTest, CommaOptionsAreKeptAndAppliedAndABusyExportRefuses)
{
    Build(Scene::ShownPoints);
    TheExportHooks().commaTextOptions = [](int& scale, int& axis, const std::string&) {
        scale = 4;   // x 0.01
        axis = 0;
        return true;
    };
    ASSERT_EQ(m_view->SaveFile(PathOf("p.xyz")), 1);
    const std::string text = ReadAll(PathOf("p.xyz"));
    // Point 3 of the line group: (1.5, 3, 13) x 0.01, y first.
    EXPECT_NE(text.find("\r\n0.0300,0.0150,0.1300,3,0,0\r\n"), std::string::npos) << text.substr(0, 200);

    m_view->FilesState().exportBusy = 1;
    m_boxes->Clear();
    EXPECT_EQ(m_view->SaveFile(PathOf("q.sim")), 0);
    ASSERT_EQ(m_boxes->ShownBoxes().size(), 1u);
    EXPECT_EQ(m_boxes->ShownBoxes()[0].text, "データの適正処理を行っています\nしばらく待って処理を実行してください。");
    EXPECT_FALSE(std::filesystem::exists(PathOf("q.sim")));
    m_view->FilesState().exportBusy = 0;
}

// The LAS saver through the view: the project's converter on PATH, no box under
// the lock, the numbered files of the split settings.
TEST_F(SaveDispatchTest, LasSaveRunsTheConverterWithTheLockReleased)
{
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (std::string(TESSARA_BINARY_DIR_PATH) + "/bin:" + oldPath).c_str(), 1);
    Build(Scene::ShownPoints);
    m_view->Settings().lasSplitMode = 2;
    m_view->Settings().lasCountLimit = 1;
    ASSERT_EQ(m_view->SaveFile(PathOf("scan.las")), 1);
    EXPECT_EQ(Names(m_dir), std::vector<std::string>{"scan(1).las"});
    ASSERT_EQ(m_boxes->ShownBoxes().size(), 1u);
    EXPECT_EQ(m_boxes->ShownBoxes()[0].text, "ファイルを保存しました。");
    EXPECT_EQ(m_view->LastStatusText(), "LASファイルを保存しました。");
    EXPECT_EQ(m_boxes->underLock, 0);
    EXPECT_EQ(m_view->FilesState().exportBusy.load(), 0);
    ::setenv("PATH", "/nonexistent", 1);
    m_boxes->Clear();
    EXPECT_EQ(m_view->SaveFile(PathOf("b.laz")), 0);
    ::setenv("PATH", oldPath.c_str(), 1);
    ASSERT_EQ(m_boxes->ShownBoxes().size(), 2u);
    EXPECT_EQ(m_boxes->ShownBoxes()[0].text.rfind("起動エラー[lasconsole ", 0), 0u);
    EXPECT_EQ(m_boxes->ShownBoxes()[1].text, "ファイルの保存に失敗しました。");
    EXPECT_EQ(m_view->LastStatusText(), "LASファイルを保存できませんでした。");
    EXPECT_FALSE(std::filesystem::exists(PathOf("b.laz")));
}

// Open: the model chosen in the list and the picture beside it, whatever the case
// of its extension; a cancelled list changes nothing.
TEST_F(SaveDispatchTest, OpenReadsTheModelAndThePictureBesideIt)
{
    FakeFrame frame;
    Build(Scene::ShownTin);
    const std::string model = PathOf("scene.tpf");
    ASSERT_EQ(m_view->SaveFile(model), 1);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(QString::fromStdString(PathOf("scene.JPG")), "JPG"));

    m_view->resize(200, 150);
    m_view->show();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->SceneFrameCount() > 0; }));
    std::vector<std::string> asked;
    TheExportHooks().chooseFile = [&](const std::string& folder, const std::string& ext, const std::string& title) {
        asked = {folder, ext, title};
        return std::optional<std::string>();
    };
    m_view->SetMainFrameStatusText("before");
    m_view->OnFileOpen();
    EXPECT_EQ(asked, (std::vector<std::string>{m_view->WorkFolder(), "tpf", "データの呼び出し"}));
    EXPECT_EQ(m_view->LastStatusText(), "before");

    m_view->ModelStore().m_groups.clear();
    TheExportHooks().chooseFile = [&](const std::string&, const std::string&, const std::string&) {
        return std::optional<std::string>(model);
    };
    m_view->OnFileOpen();
    EXPECT_EQ(m_view->LastStatusText(), "ファイルの読み込みが完了しました");
    EXPECT_EQ(m_view->ModelStore().GetGroupCount(), 1);
    EXPECT_TRUE(m_view->BuffersState().texture != nullptr);
    EXPECT_FALSE(tessara::FileExists(tessara::TempFolder() + "~tmp_Texture.bmp"));
    EXPECT_TRUE(m_boxes->ShownBoxes().empty());
}

// A model chosen in the list that is gone by the time it is read is reported as
// missing, not as damaged, and the scene stays as it was.
TEST_F(SaveDispatchTest, OpenOfAFileThatVanishedSaysItWasNotFound)
{
    FakeFrame frame;
    Build(Scene::ShownTin);
    const std::string model = PathOf("gone.tpf");
    TheExportHooks().chooseFile = [&](const std::string&, const std::string&, const std::string&) {
        return std::optional<std::string>(model);
    };
    m_view->SetMainFrameStatusText("before");
    m_view->OnFileOpen();
    ASSERT_EQ(m_boxes->ShownBoxes().size(), 1u);
    EXPECT_EQ(m_boxes->ShownBoxes()[0].text, "ファイルが見つかりません。\n" + model);
    EXPECT_EQ(m_view->LastStatusText(), "before");
    EXPECT_EQ(m_view->ModelStore().GetGroupCount(), 1);
}


// The small example site opens with its picture beside it on the ground TIN, where the
// model file places it: the picture's lower left quarter red, lower right green,
// upper half yellow, over the ground square 0..10.
TEST_F(SaveDispatchTest, TheExampleSiteShowsItsPictureWhereTheFilePlacesIt)
{
    FakeFrame frame;
    const std::string source = std::string(TESSARA_SOURCE_DIR_PATH) + "/examples/models/small-site";
    for (const char* extension : {".tpf", ".jpg"})
        std::filesystem::copy_file(source + extension, PathOf(std::string("site") + extension),
                                   std::filesystem::copy_options::overwrite_existing);
    m_view->resize(320, 320);
    m_view->show();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->SceneFrameCount() > 0; }));
    TheExportHooks().chooseFile = [&](const std::string&, const std::string&, const std::string&) {
        return std::optional<std::string>(PathOf("site.tpf"));
    };
    m_view->OnFileOpen();
    EXPECT_TRUE(m_boxes->ShownBoxes().empty());
    ASSERT_TRUE(m_view->BuffersState().texture != nullptr);
    EXPECT_EQ(m_view->FilesState().scene.texturePlacement, (std::array<double, 5>{0, 0, 10, 10, 0}));

    // Textured faces only: the TIN in picture mode 3, the other content hidden.
    CModelDataMng& store = m_view->ModelStore();
    {
        std::lock_guard lock(m_view->ViewMutex());
        store.m_nShowCAD = 0;
        store.m_nShowPart = 0;
        store.m_nShow3DStructure = 0;
        store.GetGroup(0)->m_nShowPCloud = 0;
        store.GetGroup(1)->m_nShowGroup = 0;
    }
    m_view->Settings().tinPictureMode = 3;
    m_view->Settings().tinEdgeSwitch = 0;
    m_view->Settings().tinPointSwitch = 0;
    m_view->InvalidateAllBuffers();
    const std::uint64_t before = m_view->SceneFrameCount();
    m_view->InvalidateScene();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->SceneFrameCount() > before; }));
    const QImage image = m_view->grabFramebuffer();

    // Where each colour of the picture lies on the screen.
    struct Area {
        long long n = 0, x = 0, y = 0;
    } red, green, yellow;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int r = c.red(), g = c.green(), b = c.blue();
            Area* area = nullptr;
            if (r > 80 && r > 2 * g && r > 2 * b) area = &red;
            else if (g > 80 && g > 2 * r && g > 2 * b) area = &green;
            else if (r > 80 && g > 80 && 2 * b < std::min(r, g) && std::abs(r - g) < std::max(r, g) / 3) area = &yellow;
            if (area == nullptr) continue;
            ++area->n;
            area->x += x;
            area->y += y;
        }
    ASSERT_GT(red.n, 200);
    ASSERT_GT(green.n, 200);
    ASSERT_GT(yellow.n, 400);
    // North up: red left of green, both below yellow (window y runs down).
    EXPECT_LT(red.x / red.n, green.x / green.n);
    EXPECT_GT(red.y / red.n, yellow.y / yellow.n);
    EXPECT_GT(green.y / green.n, yellow.y / yellow.n);

    // A model without a picture beside it leaves the TINs untextured.
    m_view->ModelStore().m_groups.clear();
    Build(Scene::ShownTin);
    ASSERT_EQ(m_view->SaveFile(PathOf("plain.tpf")), 1);
    TheExportHooks().chooseFile = [&](const std::string&, const std::string&, const std::string&) {
        return std::optional<std::string>(PathOf("plain.tpf"));
    };
    m_view->OnFileOpen();
    const std::uint64_t loaded = m_view->SceneFrameCount();
    m_view->InvalidateScene();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->SceneFrameCount() > loaded; }));
    EXPECT_TRUE(m_view->BuffersState().texture == nullptr);
}

}  // namespace
