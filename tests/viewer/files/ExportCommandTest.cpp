// The export command (32837) through the view's command router: the save dialog
// answered by a script that types a name, every format written and read back,
// the question before a file is replaced and a save that fails.
#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "platform/MemoryProfile.h"
#include "platform/MessageBox.h"
#include "platform/ScriptedMessageBoxes.h"
#include "outside/XLandXmlAttrSetDlg.h"
#include "viewer/dialogs/CInOutXYZVurDlg.h"
#include "viewer/dialogs/DialogHooks.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/ExportFileDlg.h"
#include "viewer/dialogs/FileSimpleDlg.h"
#include "viewer/files/ExportFileName.h"
#include "viewer/files/ViewFilesState.h"

#include "../../tools/LazDecoder.h"
#include "../render/ViewTestApp.h"
#include "ExportTestSupport.h"
#include "FakeFrame.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

using namespace exporttest;

namespace {

constexpr unsigned kExport = 32837;
constexpr unsigned kOpen = 57601;
constexpr int kSide = 5;                          // the grid of points
constexpr int kPoints = kSide * kSide;            // 25
constexpr int kTriangles = 2 * (kSide - 1) * (kSide - 1);  // 32
constexpr int kCadVertices = 5;                           // a square and its middle
constexpr int kCadTriangles = 4;
constexpr const char* kSaveFailed = "ファイルの保存に失敗しました。";

class ExportCommandTest : public ScratchFolderTest {
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        EnsureViewTestApp();
        m_boxes = std::make_shared<tessara::ScriptedMessageBoxes>();
        m_previousBoxes = tessara::SetMessageBoxService(m_boxes);
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        // The LAS converter and the LAZ compressor of this build.
        ::setenv("PATH", (std::string(TESSARA_BINARY_DIR_PATH) + "/bin:" + m_oldPath).c_str(), 1);
        m_view = std::make_unique<CModelViewerView>();
        m_view->Create();
        m_view->FilesState().scene.frame.surveyTransform = MTRX();
        m_view->Settings().lasSplitMode = 0;
        // The working folder does not exist yet: the command makes it.
        m_work = PathOf("work") + "/";
        m_view->SetWorkFolder(m_work);
        m_view->resize(200, 150);
        m_view->show();
        ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->SceneFrameCount() > 0; }));
        InstallDialogHooks([this] { return static_cast<COpenGLBaseView*>(m_view.get()); });
        (*m_script)->AcceptAs<CInOutXYZVurDlg>();
        (*m_script)->AcceptAs<XLandXmlAttrSetDlg>();
        BuildScene();
    }
    void TearDown() override
    {
        RemoveDialogHooks();
        m_view.reset();
        ::setenv("PATH", m_oldPath.c_str(), 1);
        tessara::SetMessageBoxService(m_previousBoxes);
        ScratchFolderTest::TearDown();
    }
    // A shown 5 x 5 grid of points with its TIN.
    void BuildScene()
    {
        std::lock_guard lock(m_view->ViewMutex());
        CModelDataMng& store = m_view->ModelStore();
        auto g = std::make_unique<CPCloudMng>();
        for (int i = 0; i < kSide; ++i)
            for (int j = 0; j < kSide; ++j)
                g->AddCloudPoint(float(i), float(j), 10.0f + 0.5f * float(i), 0x102030, 1.0);
        g->m_nDataFlag = 1;
        g->CreateGrid();
        g->GenerateMesh(&store, nullptr, 1);
        store.AddGroup(std::move(g));
        // Beside it a CAD TIN from a square polyline with elevations and a spot height.
        CElmData square;
        square.m_nKind = 13;
        square.m_ptLists.push_back({PT(10, 0, 1), PT(14, 0, 2), PT(14, 4, 3), PT(10, 4, 4), PT(10, 0, 1)});
        CElmData spot;
        spot.m_nKind = 11;
        spot.m_ptLists.push_back({PT(12, 2, 5)});
        for (CElmData* e : {&square, &spot}) {
            e->RebuildSegments();
            store.m_elmList.push_back(*e);
        }
        store.RebuildCadLayers();
        store.GenerateCadTin(nullptr);
        m_view->InvalidateAllBuffers();
    }
    void Run(unsigned id)
    {
        const auto* handler = m_view->Commands().FindCommand(id);
        ASSERT_NE(handler, nullptr) << id;
        (*handler)();
    }
    // The save dialog answers with the name typed and the filter picked.
    void Type(const std::string& name, int filter = 0)
    {
        (*m_script)->Answer<ExportFileDlg>([name, filter](ExportFileDlg::Values& v) {
            v.fileName = name;
            v.filterIndex = filter;
            return tessara::IDOK;
        });
    }
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& b : m_boxes->ShownBoxes()) texts.push_back(b.text);
        return texts;
    }

    std::shared_ptr<tessara::ScriptedMessageBoxes> m_boxes;
    std::shared_ptr<tessara::MessageBoxService> m_previousBoxes;
    std::unique_ptr<tessara::ScopedDialogScript> m_script = std::make_unique<tessara::ScopedDialogScript>();
    std::unique_ptr<CModelViewerView> m_view;
    std::string m_oldPath;
    std::string m_work;
};

std::uint32_t Le32(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

// The point count a LAS file's header gives, checked against its records.
std::uint32_t LasPoints(const std::string& path)
{
    const std::string bytes = ReadAll(path);
    if (bytes.size() < 227 || bytes.compare(0, 4, "LASF") != 0) return 0;
    const std::uint32_t offset = Le32(bytes, 96);
    const std::uint16_t length = std::uint16_t(std::uint8_t(bytes[105]) | (std::uint8_t(bytes[106]) << 8));
    const std::uint32_t count = Le32(bytes, 107);
    EXPECT_EQ((bytes.size() - offset) / length, count);
    return count;
}

std::size_t CountPrefixed(const std::string& text, const std::string& prefix)
{
    std::size_t n = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, prefix.size(), prefix) == 0) ++n;
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return n;
}

struct FormatCase {
    const char* name;
    const char* typed;  // in the name field
    int filter;         // the filter picked
    const char* file;   // what is written in the working folder
};

class ExportFormatTest : public ExportCommandTest, public ::testing::WithParamInterface<FormatCase> {};

} // namespace

TEST_F(ExportCommandTest, TheDialogOffersEveryFormatTheSaveWrites)
{
    ASSERT_FALSE(tessara::FolderExists(m_work));
    ExportFileDlg::Values asked;
    (*m_script)->Answer<ExportFileDlg>([&](ExportFileDlg::Values& v) {
        asked = v;
        return tessara::IDCANCEL;
    });
    Run(kExport);
    EXPECT_TRUE(tessara::FolderExists(m_work)) << "the working folder is made";
    EXPECT_EQ(asked.folder, m_work);
    EXPECT_EQ(asked.filterIndex, 0) << "LAS first";
    EXPECT_EQ(asked.filters,
              (std::vector<std::string>{"LAS ファイル (*.las)", "LAZ ファイル (*.laz)", "XYZ ファイル (*.xyz)",
                                        "LAND XML ファイル (*.xml)", "モデルファイル (*.tpf)", "SIMA ファイル (*.sim)",
                                        "ビットマップ画像 (*.bmp)"}));
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_TRUE(Names(m_work).empty()) << "a cancelled dialog writes nothing";

    // While a save runs the command only warns.
    m_view->FilesState().exportBusy = 1;
    (*m_script)->Clear();
    Run(kExport);
    m_view->FilesState().exportBusy = 0;
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"データの適正処理を行っています\nしばらく待って処理を実行してください。"}));
    EXPECT_TRUE((*m_script)->Dialogs().empty());
}

// Each format written under a typed new name and read back with the same counts.
TEST_P(ExportFormatTest, ATypedNewNameIsWrittenAndReadsBack)
{
    const FormatCase& c = GetParam();
    Type(c.typed, c.filter);
    Run(kExport);
    const std::string path = m_work + c.file;
    ASSERT_TRUE(tessara::FileExists(path)) << ::testing::PrintToString(BoxTexts());
    for (const std::string& text : BoxTexts()) EXPECT_NE(text, kSaveFailed);
    EXPECT_EQ(Names(m_work), std::vector<std::string>{c.file}) << "no temporary file is left";

    const std::string ext = std::filesystem::path(path).extension().string();
    if (ext == ".las") {
        EXPECT_EQ(LasPoints(path), std::uint32_t(kPoints));
    } else if (ext == ".laz") {
        laztest::LazFile laz;
        std::string error;
        ASSERT_TRUE(laztest::ReadLaz(path, laz, error)) << error;
        EXPECT_EQ(laz.pointCount, std::uint32_t(kPoints));
        // laz-perf under node decodes the same records.
        const std::string script = std::string(TESSARA_SOURCE_DIR_PATH) + "/tests/tools/lazperf/laz-decode.js";
        const std::string out = PathOf("lazperf.bin"), log = PathOf("lazperf.txt");
        const std::string command = "node '" + script + "' '" + path + "' '" + out + "' > '" + log + "' 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0)
            << "node with laz-perf (installed by scripts/install-deps.sh) failed: " << ReadAll(log);
        const std::string records = ReadAll(out);
        EXPECT_EQ(records.size(), laz.records.size());
        EXPECT_TRUE(records == std::string(laz.records.begin(), laz.records.end()));
    } else if (ext == ".xyz") {
        EXPECT_EQ(CountLines(ReadAll(path)), std::size_t(kPoints));
    } else if (ext == ".XML" || ext == ".xml") {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file(path.c_str()));
        // One surface each: the group's TIN and the CAD TIN.
        const pugi::xpath_node_set surfaces = doc.select_nodes("//Surface/Definition");
        EXPECT_EQ(surfaces.size(), 2u);
        std::size_t points = 0, faces = 0;
        for (const pugi::xpath_node& definition : surfaces) {
            for (auto p : definition.node().child("Pnts").children("P")) points += p ? 1 : 0;
            for (auto f : definition.node().child("Faces").children("F")) faces += f ? 1 : 0;
        }
        EXPECT_EQ(points, std::size_t(kPoints + kCadVertices));
        EXPECT_EQ(faces, std::size_t(kTriangles + kCadTriangles));
    } else if (ext == ".sim") {
        EXPECT_EQ(CountPrefixed(ReadAll(path), "A01,"), std::size_t(kPoints));
    } else if (ext == ".bmp") {
        const QImage image(QString::fromStdString(path));
        ASSERT_FALSE(image.isNull());
        EXPECT_GT(image.width(), 0);
    } else if (ext == ".tpf") {
        // Reopened through 開く over an emptied scene.
        {
            std::lock_guard lock(m_view->ViewMutex());
            m_view->ModelStore().m_groups.clear();
            m_view->ModelStore().ClearCadFigures();
            m_view->ModelStore().m_cadTin.ClearVertex();
        }
        FakeFrame frame;
        (*m_script)->Answer<FileSimpleDlg>([&](FileSimpleDlg::Values& v) {
            v.result = path;
            return tessara::IDOK;
        });
        m_boxes->Clear();
        Run(kOpen);
        EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
        std::lock_guard lock(m_view->ViewMutex());
        ASSERT_EQ(m_view->ModelStore().GetGroupCount(), 1);
        EXPECT_EQ(m_view->ModelStore().GetGroup(0)->GetCloudPointSize(), kPoints);
        EXPECT_EQ(m_view->ModelStore().GetGroup(0)->GetTriangleCount(), kTriangles);
        EXPECT_EQ(m_view->ModelStore().m_cadTin.GetTriangleCount(), kCadTriangles);
    } else {
        ADD_FAILURE() << "no reader for " << path;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExportFormatTest,
    ::testing::Values(FormatCase{"las_by_the_filter", "survey", 0, "survey.las"},
                      FormatCase{"laz_typed", "scan.laz", 0, "scan.laz"},
                      FormatCase{"xyz_by_the_filter", "points", 2, "points.xyz"},
                      FormatCase{"landxml_upper_case", "ground.XML", 0, "ground.XML"},
                      FormatCase{"model_file", "model.tpf", 0, "model.tpf"},
                      FormatCase{"sima_by_the_filter", "sima", 5, "sima.sim"},
                      FormatCase{"bitmap", "view.bmp", 1, "view.bmp"},
                      FormatCase{"unknown_extension_gets_the_filters", "site.v2", 1, "site.v2.laz"}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

// An existing name is replaced only after a yes; a no brings the dialog back with it.
TEST_F(ExportCommandTest, AnExistingFileIsReplacedOnlyAfterTheUserAgrees)
{
    ASSERT_TRUE(std::filesystem::create_directories(m_work));
    const std::string path = m_work + "a.sim";
    std::ofstream(path) << "old";
    int runs = 0;
    (*m_script)->Answer<ExportFileDlg>([&](ExportFileDlg::Values& v) {
        v.fileName = "a.sim";
        return ++runs == 1 ? tessara::IDOK : tessara::IDCANCEL;
    });
    m_boxes->QueueAnswer(tessara::IDNO);
    Run(kExport);
    ASSERT_EQ(m_boxes->ShownBoxes().size(), 1u);
    EXPECT_EQ(m_boxes->ShownBoxes()[0].text, "[a.sim] は既に存在します。\n上書きしますか？");
    EXPECT_EQ(m_boxes->ShownBoxes()[0].flags & tessara::MB_YESNO, unsigned(tessara::MB_YESNO));
    const auto calls = (*m_script)->Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(std::any_cast<ExportFileDlg::Values>(calls[1].valuesIn).fileName, path) << "asked again with the name";
    EXPECT_EQ(ReadAll(path), "old");

    runs = 0;
    m_boxes->Clear();
    m_boxes->QueueAnswer(tessara::IDYES);
    Run(kExport);
    EXPECT_EQ(CountPrefixed(ReadAll(path), "A01,"), std::size_t(kPoints));
    EXPECT_EQ(Names(m_work), std::vector<std::string>{"a.sim"});
}

// A folder that takes no file: the failure is said and the old file stays whole.
TEST_F(ExportCommandTest, ASaveThatFailsSaysSoAndKeepsTheOldFile)
{
    ASSERT_TRUE(std::filesystem::create_directories(m_work));
    const std::vector<std::pair<std::string, int>> files = {{"a.sim", 0}, {"a.tpf", 0}, {"a.xyz", 0}, {"a.las", 0}};
    for (const auto& [name, filter] : files) std::ofstream(m_work + name) << "old";
    // The folder takes writes again however the test ends.
    struct WritableAgain {
        std::string folder;
        bool immutable = false;
        void Restore()
        {
            if (immutable && std::system(("chattr -i '" + folder + "'").c_str()) == 0) immutable = false;
            ::chmod(folder.c_str(), 0755);
        }
        ~WritableAgain() { Restore(); }
    } again{m_work};
    ::chmod(m_work.c_str(), 0555);
    // Root writes into a read-only folder: then the folder is made immutable.
    const std::string probe = m_work + "probe";
    if (std::ofstream(probe).good()) {
        std::filesystem::remove(probe);
        again.immutable = std::system(("chattr +i '" + m_work + "' 2>/dev/null").c_str()) == 0;
        if (!again.immutable || std::ofstream(probe).good()) {
            std::filesystem::remove(probe);
            GTEST_SKIP() << "no folder here refuses this user's writes";
        }
    }
    for (const auto& [name, filter] : files) {
        SCOPED_TRACE(name);
        m_boxes->Clear();
        m_boxes->QueueAnswer(tessara::IDYES);  // replace it
        Type(name, filter);
        Run(kExport);
        const auto texts = BoxTexts();
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.back(), kSaveFailed);
        EXPECT_EQ(ReadAll(m_work + name), "old");
    }
    again.Restore();
    EXPECT_EQ(Names(m_work), (std::vector<std::string>{"a.las", "a.sim", "a.tpf", "a.xyz"}));
}

// The path a typed name stands for.
TEST(ExportFileNameTest, ResolvesTypedNames)
{
    struct Case {
        const char* folder;
        const char* typed;
        int filter;
        const char* path;
    };
    const Case cases[] = {
        {"/w/", "a", 0, "/w/a.las"},
        {"/w/", "a", 3, "/w/a.xml"},
        {"/w/", "a.LAZ", 0, "/w/a.LAZ"},
        {"/w/", "a.b", 2, "/w/a.b.xyz"},
        {"/w/", "/elsewhere/a.sim", 0, "/elsewhere/a.sim"},
        {"/w/", "a", 99, "/w/a.las"},
        {"/w/", ".las", 0, "/w/.las.las"},
        {"/w/", "", 0, ""},
        {"/w/", "sub/", 0, ""},
        {"", "a.tpf", 0, "a.tpf"},
    };
    for (const Case& c : cases) EXPECT_EQ(exportfile::ResolvePath(c.folder, c.typed, c.filter), c.path) << c.typed;
}

// The real dialog takes a name that does not exist yet.
TEST(ExportFileDlgTest, TakesATypedNewName)
{
    EnsureViewTestApp();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tessara-export-dialog";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ExportFileDlg::Values values{dir.string() + "/", {}, 1, {}};
    for (const exportfile::Filter& f : exportfile::Filters()) values.filters.emplace_back(f.label);
    bool typed = false;
    int waited = 0;
    // Once the dialog runs: the name goes into its name field, then OK.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<ExportFileDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        if (typed) {
            // Still open long after OK: refused; end it rather than hang.
            if (++waited > 1000) dialog->reject();
            return;
        }
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        edit->setText("new survey.las");
        typed = true;
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
    poll.start(10);
    ASSERT_EQ(tessara::RunDialog<ExportFileDlg>(nullptr, values), tessara::IDOK);
    EXPECT_TRUE(typed);
    EXPECT_EQ(values.fileName, (dir / "new survey.las").string());
    EXPECT_EQ(values.filterIndex, 1) << "the filter shown first comes back";
    std::filesystem::remove_all(dir);
}

// A save split into numbered files asks before it replaces one of them.
TEST_F(ExportCommandTest, ASplitSaveAsksAboutItsNumberedFiles)
{
    ASSERT_TRUE(std::filesystem::create_directories(m_work));
    std::ofstream(m_work + "scan(1).las") << "old";
    std::ofstream(m_work + "scan(x).las") << "not one of ours";
    m_view->Settings().lasSplitMode = 2;
    m_view->Settings().lasCountLimit = 1;
    int runs = 0;
    (*m_script)->Answer<ExportFileDlg>([&](ExportFileDlg::Values& v) {
        v.fileName = "scan";
        return ++runs == 1 ? tessara::IDOK : tessara::IDCANCEL;
    });
    m_boxes->QueueAnswer(tessara::IDNO);
    Run(kExport);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"[scan(1).las] は既に存在します。\n上書きしますか？"}));
    EXPECT_EQ(ReadAll(m_work + "scan(1).las"), "old");
    EXPECT_FALSE(tessara::FileExists(m_work + "scan.las"));

    // Without the split the plain name is free: nothing to ask.
    m_view->Settings().lasSplitMode = 0;
    runs = 0;
    m_boxes->Clear();
    Run(kExport);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ファイルを保存しました。"});
    EXPECT_EQ(LasPoints(m_work + "scan.las"), std::uint32_t(kPoints));
}

// A working folder that cannot be made is said, and no dialog opens.
TEST_F(ExportCommandTest, AWorkingFolderThatCannotBeMadeIsSaid)
{
    std::ofstream(PathOf("plain-file")) << "x";
    const std::string folder = PathOf("plain-file") + "/work/";
    m_view->SetWorkFolder(folder);
    Run(kExport);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"作業フォルダを作成できませんでした。\n" + folder});
    EXPECT_TRUE((*m_script)->Dialogs().empty());
}
