// Every save, stopped at every step it takes (each write to a file, each sync, each
// rename or link; sampled evenly when there are more than kMaxSteps), either by a
// kill or by a failing call: the previous file stays byte for byte, no file a user
// would see is left beside it, and a save that reports success left the new file.
#include "WriteFaults.h"

#include "LasConsole.h"
#include "hostfw/IniBatchWriter.h"
#include "hostfw/FormServices.h"
#include "hostfw/IniFile.h"
#include "hostfw/SvyForm.h"
#include "outside/CModelDataMng.h"
#include "outside/CnvLandXML.h"
#include "outside/CPCloudMng.h"
#include "platform/Files.h"
#include "platform/IniProfile.h"
#include "plugins/common/BinderOutput.h"
#include "plugins/common/CsvWriter.h"
#include "viewer/dialogs/BitmapFile.h"
#include "viewer/files/ExchangeFile.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/LasDump.h"
#include "viewer/files/ModelFile.h"
#include "viewer/files/PointTextExport.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kMaxSteps = 1000;

// One save path. Variant 0 writes the previous file, variant 1 the new one.
struct SaveCase {
    const char* name;
    const char* fileName;
    std::function<bool(const std::string& target, int variant)> save;
    // CSV outputs are deleted when a write fails (the carrier's rule); only a kill
    // must leave the previous one.
    bool failureKeepsPrevious = true;
    // What the save reads, written before the faults are armed.
    std::function<void(const std::string& target, int variant)> prepare = {};
    // Blanks what differs between two saves of the same content (a time stamp).
    std::function<void(std::string& bytes)> normalize = {};
};

std::unique_ptr<CModelDataMng> Store(int variant, int points)
{
    auto store = std::make_unique<CModelDataMng>();
    auto group = std::make_unique<CPCloudMng>();
    group->m_name = variant == 0 ? "previous" : "new";
    for (int i = 0; i < points; ++i)
        group->AddCloudPoint(float(i % 100), float(i / 100), float(variant), 0x00102030u, 1.0);
    store->AddGroup(std::move(group));
    return store;
}

bool SaveModel(const std::string& target, int variant)
{
    // Big enough for the new file to take several writes of the archive's buffer.
    const auto store = Store(variant, variant == 0 ? 10 : 300'000);
    ModelViewState state;
    return ModelFile::Save(target, *store, state, fileformat::kEverything) == ModelFile::SaveResult::Ok;
}

bool SaveUndoSnapshot(const std::string& target, int variant)
{
    // A snapshot is the model archive of the sections a change touches, written to
    // its slot file; a slot is reused once all are taken.
    const auto store = Store(variant, variant == 0 ? 10 : 200'000);
    ModelViewState state;
    return ModelFile::Save(target, *store, state, fileformat::kGroupPoints | fileformat::kGroupTins) ==
           ModelFile::SaveResult::Ok;
}

bool SaveExchange(const std::string& target, int variant)
{
    const auto store = Store(variant, variant == 0 ? 5 : 100'000);
    ExchangeFile exchange(*store, MTRX());
    return exchange.WriteExchangeFile(target, ExchangeFile::kPointPart, 0, ExchangeFile::kTinPoints) > 0;
}

std::string BinderSource(const std::string& target, int variant)
{
    return target + "-input/output" + std::to_string(variant) + ".csv";
}

void WriteBinderSource(const std::string& target, int variant)
{
    const std::string source = BinderSource(target, variant);
    fs::create_directories(fs::path(source).parent_path());
    std::ofstream(source, std::ios::binary) << std::string(variant == 0 ? 100 : 300'000, char('0' + variant));
}

bool SaveBinderCopy(const std::string& target, int variant)
{
    return plugcommon::CopyOutputFromTemp(BinderSource(target, variant), target) == 1;
}

std::string FormTemplateBeside(const std::string& target)
{
    return target + "-input/" + fs::path(target).stem().string() + ".frm";
}

void WriteFormTemplate(const std::string& target, int)
{
    const std::string path = FormTemplateBeside(target);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << R"({ "page": { "width_mm": 210, "height_mm": 297 },
  "fields": [ { "no": 1, "x_mm": 20, "y_mm": 20, "w_mm": 170, "h_mm": 250, "pt": 10 } ] })";
}

// A PDF names the second it was made in.
void BlankCreationDate(std::string& bytes)
{
    const std::string key = "/CreationDate (";
    const std::size_t at = bytes.find(key);
    if (at == std::string::npos) return;
    const std::size_t end = bytes.find(')', at);
    if (end != std::string::npos)
        for (std::size_t i = at + key.size(); i < end; ++i) bytes[i] = '0';
}

bool SaveFormPdf(const std::string& target, int variant)
{
    // The form engine draws with Qt's PDF writer, which needs a GUI application;
    // made once, before any child is forked, and never with a display.
    static QGuiApplication* app = [] {
        static int argc = 1;
        static char name[] = "save_fault_test";
        static char* argv[] = {name, nullptr};
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    SetFormOutputFolder(fs::path(target).parent_path());
    SvyForm form(32, 0x1110000, 0);
    if (form.CreateDoc(4827, FormTemplateBeside(target), "", "") == -1) return false;
    std::string text;
    // Twenty lines: about 210 bytes, within the 254 a form field holds.
    for (int line = 0; line < (variant == 0 ? 1 : 20); ++line) text += "観測点 " + std::to_string(line) + "\r\n";
    form.PutField(1, text, 0);
    return form.CloseDoc() != 0 && form.WrittenFiles().size() == 1 && form.WrittenFiles()[0] == fs::path(target);
}

bool SaveSurveyPointText(const std::string& target, int variant)
{
    const auto store = Store(variant, variant == 0 ? 5 : 50'000);
    return WriteSurveyPointText(*store, MTRX(), target) == 1;
}

bool SaveCommaPointText(const std::string& target, int variant)
{
    const auto store = Store(variant, variant == 0 ? 5 : 50'000);
    return WriteCommaPointText(*store, MTRX(), target, 1.0, 1, PointTextLimits{}) == 1;
}

bool SaveLandXml(const std::string& target, int variant)
{
    // A grid surface of n x n vertices and its triangles.
    const std::uint32_t n = variant == 0 ? 3 : 150;
    LxVertexLists vertices(1);
    LxTriangleLists triangles(1);
    for (std::uint32_t row = 0; row < n; ++row)
        for (std::uint32_t col = 0; col < n; ++col)
            vertices[0].push_back({double(row), double(col), 0.5 * variant + 0.01 * (row + col)});
    for (std::uint32_t row = 0; row + 1 < n; ++row)
        for (std::uint32_t col = 0; col + 1 < n; ++col) {
            const std::uint32_t a = row * n + col;
            triangles[0].push_back({{a, a + 1, a + n}});
            triangles[0].push_back({{a + 1, a + n + 1, a + n}});
        }
    LxDATA_Project project;
    project.name = variant == 0 ? "前" : "新";
    LxDATA_Application application;
    application.timeStamp = "2026-12-11 03:00:00";
    LxDATA_Coordinate coordinate;
    return CnvLandXML_SAVE(target.c_str(), project, application, coordinate, vertices, triangles, nullptr) != 0;
}

bool SaveLasDump(const std::string& target, int variant)
{
    const auto store = Store(variant, variant == 0 ? 3 : 200'000);
    lasdump::Position at;
    return lasdump::WriteDump(target, *store, MTRX(), at, lasdump::kNoLimit).written;
}

std::string DumpBeside(const std::string& target, int variant)
{
    return target + "-input/points" + std::to_string(variant) + ".dump";
}

void WriteLasInput(const std::string& target, int variant)
{
    const std::string dump = DumpBeside(target, variant);
    fs::create_directories(fs::path(dump).parent_path());
    const auto store = Store(variant, variant == 0 ? 3 : 100'000);
    lasdump::Position at;
    lasdump::WriteDump(dump, *store, MTRX(), at, lasdump::kNoLimit);
}

bool SaveLas(const std::string& target, int variant)
{
    std::string error;
    return lasconsole::ConvertDumpToLas(DumpBeside(target, variant), target, error);
}

bool SaveIniFile(const std::string& target, int variant)
{
    IniFile ini;
    std::string error;
    if (!ini.Load(target, error)) return false;
    for (int i = 0; i < 50; ++i) ini.Set("基準点", "key" + std::to_string(i), std::to_string(i * (variant + 1)));
    return ini.Save(target, error);
}

bool SaveIniBatch(const std::string& target, int variant)
{
    IniBatchWriter batch(target);
    for (int i = 0; i < 20; ++i) batch.WriteInt("Settings", "n" + std::to_string(i), i + variant);
    std::string error;
    return batch.Commit(error);
}

bool SaveProfileString(const std::string& target, int variant)
{
    return V_WriteProfileString("Settings", "Path", variant == 0 ? "previous" : "新しい値", target);
}

bool SaveViewerProfile(const std::string& target, int variant)
{
    // Each write of the profile reaches the file at once: one write is one save.
    auto profile = tessara::IniProfile::AtPath(target);
    if (variant == 0) profile->WriteProfileInt("Settings", "PointSize", 3);
    return profile->WriteProfileString("Recent File List", "File1", variant == 0 ? "/a.tpf" : "/b.tpf");
}

bool SaveWholeFile(const std::string& target, int variant)
{
    return tessara::AtomicWriteFile(target, std::string(100'000 + variant, char('a' + variant)));
}

bool SaveCsv(const std::string& target, int variant)
{
    plugcommon::CsvWriter csv(false);
    if (csv.Open(target) != plugcommon::CsvWriter::kNoError) return false;
    for (int i = 0; i < 30; ++i) csv.WriteValueLine("P/", "値,", std::to_string(i + variant));
    return csv.Close();
}

bool SaveBitmap(const std::string& target, int variant)
{
    // The view's picture as the BMP writer gets it: bottom-up BGRA.
    const int width = variant == 0 ? 4 : 320;
    const int height = variant == 0 ? 2 : 200;
    const std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4,
                                         static_cast<std::uint8_t>(0x40 + variant));
    return WriteBitmapPixels(target, width, height, bgra);
}

const std::vector<SaveCase>& Cases()
{
    static const std::vector<SaveCase> cases = {
        {"ModelFile", "scene.tpf", SaveModel},
        {"UndoSnapshot", "~DAveru_undo_0_3.tmp", SaveUndoSnapshot},
        {"ExchangeFile", "exchange.dat", SaveExchange},
        {"SurveyPointText", "points.sim", SaveSurveyPointText},
        {"CommaPointText", "points.xyz", SaveCommaPointText},
        {"LandXml", "surface.xml", SaveLandXml},
        {"BinderCopy", "KJNHYO_BINDER.CSV", SaveBinderCopy, true, WriteBinderSource},
        {"FormPdf", "form04827.pdf", SaveFormPdf, true, WriteFormTemplate, BlankCreationDate},
        {"LasDump", "points.dump", SaveLasDump},
        {"LasConsole", "points.las", SaveLas, true, WriteLasInput},
        {"IniFile", "GPSHYOUKA.ini", SaveIniFile},
        {"IniBatchWriter", "settings.ini", SaveIniBatch},
        {"ProfileString", "profile.ini", SaveProfileString},
        {"ViewerProfile", "QuonEditorView.ini", SaveViewerProfile},
        {"WholeFile", "whole.bin", SaveWholeFile},
        {"Csv", "KJNHYO.CSV", SaveCsv, false},
        {"Bitmap", "view.bmp", SaveBitmap},
    };
    return cases;
}

std::optional<std::string> Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Files in the folder other than the target that a user would see (not hidden).
std::vector<std::string> VisibleLeftovers(const fs::path& folder, const std::string& target)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != target && name.front() != '.' && entry.is_regular_file()) names.push_back(name);
    }
    return names;
}

void RemoveHidden(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().front() == '.') fs::remove_all(entry.path());
}

std::vector<std::uint64_t> StepsToTry(std::uint64_t steps)
{
    std::vector<std::uint64_t> tried;
    if (steps <= kMaxSteps) {
        for (std::uint64_t i = 0; i < steps; ++i) tried.push_back(i);
        return tried;
    }
    for (std::uint64_t i = 0; i < kMaxSteps; ++i) tried.push_back(i * (steps - 1) / (kMaxSteps - 1));
    return tried;
}

class SaveFaultTest : public ::testing::TestWithParam<SaveCase> {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tessara-save-faults-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_folder = m_root / "out";
        fs::create_directories(m_folder);
        m_target = (m_folder / GetParam().fileName).string();
        Prepare(m_target, 0);
        ASSERT_TRUE(GetParam().save(m_target, 0)) << "the previous file could not be written";
        m_previous = *Read(m_target);

        // The steps of the new save, and what it writes, on a copy elsewhere.
        const fs::path countFolder = m_root / "count";
        fs::create_directories(countFolder);
        const std::string counted = (countFolder / GetParam().fileName).string();
        fs::copy_file(m_target, counted);
        Prepare(counted, 1);
        writefaults::Arm(writefaults::Action::Count);
        ASSERT_TRUE(GetParam().save(counted, 1));
        m_steps = writefaults::Disarm();
        m_new = *Read(counted);
        ASSERT_NE(m_new, m_previous);
        ASSERT_GE(m_steps, 2u);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    // Runs the new save in a child process with the fault armed at `step`; answers
    // the child's status.
    int RunChild(writefaults::Action action, std::uint64_t step, int error)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            Prepare(m_target, 1);
            writefaults::Arm(action, step, error);
            const bool saved = GetParam().save(m_target, 1);
            writefaults::Disarm();
            ::_exit(saved ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    }

    // The file's bytes as the comparisons take them.
    std::optional<std::string> Read(const std::string& path)
    {
        std::optional<std::string> bytes = Bytes(path);
        if (bytes && GetParam().normalize) GetParam().normalize(*bytes);
        return bytes;
    }

    void Prepare(const std::string& target, int variant)
    {
        if (GetParam().prepare) GetParam().prepare(target, variant);
    }

    fs::path m_root;
    fs::path m_folder;
    std::string m_target;
    std::string m_previous;
    std::string m_new;
    std::uint64_t m_steps = 0;
};

TEST_P(SaveFaultTest, AKillAtAnyStepLeavesThePreviousFileAndNothingVisibleBeside)
{
    for (const std::uint64_t step : StepsToTry(m_steps)) {
        const int status = RunChild(writefaults::Action::Kill, step, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save did not reach step " << step << " of " << m_steps;
        const auto now = Read(m_target);
        ASSERT_TRUE(now.has_value()) << "killed at step " << step << " of " << m_steps;
        // Killed at the last steps (after the rename, syncing the folder) the new file
        // is complete already.
        EXPECT_TRUE(*now == m_previous || *now == m_new) << "killed at step " << step << " of " << m_steps;
        if (*now == m_new) std::ofstream(m_target, std::ios::binary | std::ios::trunc) << m_previous;
        EXPECT_EQ(VisibleLeftovers(m_folder, GetParam().fileName), std::vector<std::string>{})
            << "killed at step " << step << " of " << m_steps;
        RemoveHidden(m_folder);
    }
}

TEST_P(SaveFaultTest, AFailingCallAtAnyStepKeepsThePreviousFileOrCompletesTheNewOne)
{
    const int errors[] = {ENOSPC, EACCES, EIO};
    for (const std::uint64_t step : StepsToTry(m_steps)) {
        const int error = errors[step % 3];
        const int status = RunChild(writefaults::Action::Fail, step, error);
        ASSERT_TRUE(WIFEXITED(status)) << "the save crashed on a failing call at step " << step;
        const bool reportedSaved = WEXITSTATUS(status) == 0;
        const auto now = Read(m_target);
        const std::string where = "failing call (errno " + std::to_string(error) + ") at step " +
                                  std::to_string(step) + " of " + std::to_string(m_steps);
        if (reportedSaved) {
            EXPECT_EQ(now, m_new) << where;
        } else if (GetParam().failureKeepsPrevious) {
            EXPECT_EQ(now, m_previous) << where;
        } else {
            EXPECT_FALSE(now.has_value()) << where;
        }
        EXPECT_EQ(VisibleLeftovers(m_folder, GetParam().fileName), std::vector<std::string>{}) << where;
        std::ofstream(m_target, std::ios::binary | std::ios::trunc) << m_previous;
        RemoveHidden(m_folder);
    }
}

INSTANTIATE_TEST_SUITE_P(EverySave, SaveFaultTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

} // namespace
