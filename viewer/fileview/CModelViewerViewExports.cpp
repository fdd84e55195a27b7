// The open and save commands: the model file with its picture, and the save
// dispatcher that picks the writer by the path's extension. UI thread only; message
// boxes and status texts are shown with the view mutex released.
#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "platform/Files.h"
#include "platform/IProfile.h"
#include "platform/MemoryProfile.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/UiMessages.h"
#include "viewer/files/ExportFileName.h"
#include "viewer/files/ExportHooks.h"
#include "viewer/files/LandXmlExport.h"
#include "viewer/files/LasExport.h"
#include "viewer/files/PointTextExport.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/FrameLink.h"
#include "viewer/render/LongWorkGuard.h"

#include <QApplication>
#include <QCursor>

#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <thread>

namespace {

constexpr const char* kNoPoints = "保存する点群が存在しません。";
constexpr const char* kNoTin = "保存するTINが存在しません。";
constexpr const char* kSaved = "ファイルを保存しました。";
constexpr const char* kOpenFailed = "ファイルを開くことができませんでした\nデータが破損している可能性があります";
constexpr const char* kOpenMissing = "ファイルが見つかりません。\n";
constexpr const char* kXyzSection = "VurXyzExport";

struct PathParts {
    std::string folder;     // with its final '/'
    std::string name;       // without the extension
    std::string extension;  // from the last dot, as written
    std::string lower;      // the extension in lower case
};

PathParts SplitPath(const std::string& path)
{
    PathParts p;
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    p.folder = path.substr(0, nameAt);
    const std::string file = path.substr(nameAt);
    const std::size_t dot = file.find_last_of('.');
    p.name = dot == std::string::npos ? file : file.substr(0, dot);
    p.extension = dot == std::string::npos ? "" : file.substr(dot);
    p.lower = p.extension;
    std::transform(p.lower.begin(), p.lower.end(), p.lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return p;
}

double CommaScale(int index)
{
    switch (index) {
    case 1: return 10.0;
    case 2: return 100.0;
    case 3: return 0.1;
    case 4: return 0.01;
    default: return 1.0;
    }
}

int Box(const std::string& text, unsigned flags) { return tessara::MessageBox(text, filetexts::kCaption, flags); }

bool AnyShownTin(const CModelDataMng& store)
{
    if (!store.IsShowRootGroup()) return false;
    const auto shownTin = [](const CPCloudMng& g) {
        return g.IsShowGroup() && g.IsShowTin() && g.GetTriangleCount() > 0;
    };
    for (int i = 0; i < store.GetGroupCount(); ++i)
        if (const CPCloudMng* g = store.GetGroup(i); g && shownTin(*g)) return true;
    if (store.IsShowCADGroup() && store.IsShowCADTin() && store.m_cadTin.GetTriangleCount() > 0) return true;
    if (shownTin(store.m_viewCloud)) return true;
    if (store.IsShow3DStructureGroup()) {
        if (store.IsShowBuildTin())
            for (int s = 0; s < 6; ++s)
                if (store.m_structure[std::size_t(s)].GetTriangleCount() > 0) return true;
        const int shown[6] = {store.IsShowRoadBridgeTin(), store.IsShowLightingTin(), store.IsShowUtilityPoleTin(),
                              store.IsShowHighTowerTin(), store.IsShowRailRoadTin(), store.IsShowChimneyTin()};
        for (int k = 0; k < 6; ++k)
            if (shown[k] && store.m_structure[std::size_t(6 + k)].GetTriangleCount() > 0) return true;
    }
    return false;
}

// The outcome of a slow save: a box, then the status text by message. 1 when saved.
int ReportSave(CModelViewerView& view, bool ok, const char* savedStatus, const char* failedStatus)
{
    if (!ok) {
        Box(filetexts::kSaveFailed, tessara::MB_OK | tessara::MB_ICONHAND);
        view.SendStatusText(failedStatus);
        return 0;
    }
    Box(kSaved, tessara::MB_OK | tessara::MB_ICONINFORMATION);
    view.SendStatusText(savedStatus);
    return 1;
}

// Keeps the window alive while a tool runs.
void PumpWhileWaiting()
{
    tessara::PumpPendingEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

// Marks an export running: a second export is refused, and so is closing.
class ExportBusyScope {
public:
    explicit ExportBusyScope(std::atomic<int>& flag) : m_flag(flag) { m_flag.store(1); }
    ~ExportBusyScope() { m_flag.store(0); }
    ExportBusyScope(const ExportBusyScope&) = delete;
    ExportBusyScope& operator=(const ExportBusyScope&) = delete;

private:
    std::atomic<int>& m_flag;
    LongWorkGuard m_saving{LongWorkGuard::Kind::Saving};
};

}  // namespace

void CModelViewerView::OnFileOpen()
{
    if (FrameLink::Main() == nullptr) return;
    const auto chosen = TheExportHooks().chooseFile(WorkFolder(), "tpf", "データの呼び出し");
    if (!chosen) return;
    // The file may have gone between the choice and the load: that is not damage.
    if (!tessara::FileExists(*chosen)) {
        Box(kOpenMissing + *chosen, tessara::MB_OK | tessara::MB_ICONHAND);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SetMainFrameStatusText("ファイルを開いています");
    m_files->currentFileName = *chosen;
    double keptBase = 0;
    {
        std::lock_guard lock(ViewMutex());
        keptBase = m_files->scene.frame.baseElevation;
    }
    if (LoadModelArchive(*chosen)) {
        const PathParts parts = SplitPath(*chosen);
        // The picture beside the model, "name.jpg" else in any letter case.
        std::string picture = parts.folder + parts.name + ".jpg";
        if (!tessara::FileExists(picture)) {
            picture.clear();
            for (const auto& entry : tessara::ListFiles(parts.folder, "jpg"))
                if (SplitPath(entry.path).name == parts.name) picture = entry.path;
        }
        if (!picture.empty()) {
            cv::Mat image = cv::imread(picture, cv::IMREAD_COLOR);
            if (!image.empty() && image.total() > 0) {
                const std::string bitmap = tessara::TempFolder() + "~tmp_Texture.bmp";
                if (cv::imwrite(bitmap, image) && tessara::FileExists(bitmap)) {
                    CreateTextureFromBitmap(bitmap);
                    tessara::DeleteFile(bitmap);
                }
            }
        }
        bool baseChanged = false;
        {
            std::lock_guard lock(ViewMutex());
            const double base = m_files->scene.frame.baseElevation;
            baseChanged = std::isnan(base) || std::isnan(keptBase) || base != keptBase;
            if (baseChanged) InvalidateAllBuffers();
        }
        OnShowUp();
    } else {
        Box(kOpenFailed, tessara::MB_OK | tessara::MB_ICONHAND);
    }
    m_groupTreeDirty = 1;
    m_legendDirty = 1;
    QApplication::restoreOverrideCursor();
    update();
    SetMainFrameStatusText("ファイルの読み込みが完了しました");
    EndMainFrameProgress();
}

void CModelViewerView::OnFileExport()
{
    if (m_files->exportBusy.load() != 0) {
        Box(filetexts::kBusy, tessara::MB_OK | tessara::MB_ICONWARNING);
        return;
    }
    const std::string folder = WorkFolder();
    if (!folder.empty() && !tessara::FolderExists(folder)) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (!tessara::FolderExists(folder)) {
            Box("作業フォルダを作成できませんでした。\n" + folder, tessara::MB_OK | tessara::MB_ICONHAND);
            return;
        }
    }
    int filter = exportfile::kDefaultFilter;
    std::string suggested;
    for (;;) {
        const auto typed = TheExportHooks().chooseSaveFile(folder, filter, suggested);
        if (!typed) return;
        const std::string path = exportfile::ResolvePath(folder, *typed, filter);
        if (path.empty()) return;
        // An existing file is replaced only when the user says so; otherwise the
        // dialog comes back with the name. A save split into numbered files asks
        // about those.
        const PathParts parts = SplitPath(path);
        const bool splitLimit = (m_settings.lasSplitMode == 1 && m_settings.lasSizeLimitMb > 0) ||
                                (m_settings.lasSplitMode == 2 && m_settings.lasCountLimit > 0);
        const bool numbered = splitLimit && (parts.lower == ".las" || parts.lower == ".xyz");
        const std::vector<std::string> existing = exportfile::ExistingTargets(path, numbered);
        if (!existing.empty() && Box(exportfile::OverwriteQuestion(existing.front()),
                                     tessara::MB_YESNO | tessara::MB_ICONWARNING) != tessara::IDYES) {
            suggested = path;
            continue;
        }
        SaveFile(path);
        return;
    }
}

int CModelViewerView::SaveFile(std::string path)
{
    if (m_files->exportBusy.load() != 0) {
        Box(filetexts::kBusy, tessara::MB_OK);
        return 0;
    }
    CancelRefinement();
    const PathParts parts = SplitPath(path);
    const std::string shown = "[" + parts.name + parts.extension + "]";
    const std::string saving = "ファイルを保存しています・・・" + shown;
    const std::string saved = "保存しました" + shown;
    const auto failed = [this] {
        Box(filetexts::kSaveFailed, tessara::MB_OK | tessara::MB_ICONHAND);
        SetMainFrameStatusText(filetexts::kSaveFailed);
        return 0;
    };
    const MTRX toSurvey = [this] {
        std::lock_guard lock(ViewMutex());
        return ~m_files->scene.frame.surveyTransform;
    }();
    int groups = 0;
    bool shownPoints = false;
    bool shownTin = false;
    {
        std::lock_guard lock(ViewMutex());
        groups = m_modelStore->GetGroupCount();
        shownPoints = m_modelStore->IsExistToShowPCloud() != 0;
        shownTin = AnyShownTin(*m_modelStore);
    }

    if (parts.lower == ".tpf") {
        m_files->currentFileName = path;
        SetMainFrameStatusText(saving);
        RemapTinData();
        const int result = SaveModelArchive(path, 0xFFFF);
        if (result == 0) return failed();
        SetMainFrameStatusText(saved);
        return result;
    }
    if (parts.lower == ".sim") {
        if (groups == 0) {
            Box(kNoPoints, tessara::MB_OK | tessara::MB_ICONWARNING);
            return 0;
        }
        ExportBusyScope busy(m_files->exportBusy);
        SetMainFrameStatusText(saving);
        int result = 0;
        {
            std::lock_guard lock(ViewMutex());
            result = WriteSurveyPointText(*m_modelStore, toSurvey, path);
        }
        if (result == 0) return failed();
        SetMainFrameStatusText(saved);
        return result;
    }
    if (parts.lower == ".xyz") {
        if (!shownPoints) {
            Box(kNoPoints, tessara::MB_OK | tessara::MB_ICONWARNING);
            return 0;
        }
        tessara::IProfile* profile = tessara::AppProfile();
        int scale = profile ? profile->GetProfileInt(kXyzSection, "psKeyScale", 0) : 0;
        int axis = profile ? profile->GetProfileInt(kXyzSection, "psKeyAxis", 1) : 1;
        if (!TheExportHooks().commaTextOptions(scale, axis, path)) return 0;
        if (profile) {
            profile->WriteProfileInt(kXyzSection, "psKeyScale", scale);
            profile->WriteProfileInt(kXyzSection, "psKeyAxis", axis);
        }
        ExportBusyScope busy(m_files->exportBusy);
        SetMainFrameStatusText(saving);
        const PointTextLimits limits{m_settings.lasSplitMode, m_settings.lasSizeLimitMb, m_settings.lasCountLimit};
        int result = 0;
        {
            std::lock_guard lock(ViewMutex());
            result = WriteCommaPointText(*m_modelStore, toSurvey, path, CommaScale(scale), axis ? 1 : 0, limits);
        }
        if (result == 0) return failed();
        SetMainFrameStatusText(saved);
        Box(kSaved, tessara::MB_OK | tessara::MB_ICONINFORMATION);
        return result;
    }
    if (parts.lower == ".xml") {
        if (!shownTin) {
            Box(kNoTin, tessara::MB_OK | tessara::MB_ICONWARNING);
            return 0;
        }
        m_files->currentFileName = path;
        RemapTinData();
        return SaveLandXmlFile();
    }
    if (parts.lower == ".las" || parts.lower == ".laz") {
        if (!shownPoints) {
            Box(kNoPoints, tessara::MB_OK | tessara::MB_ICONWARNING);
            return 0;
        }
        m_files->currentFileName = path;
        return SaveLasFile();
    }
    if (parts.lower == ".bmp") {
        m_files->currentFileName = path;
        return ReportSave(*this, TheExportHooks().writeBitmap(path), "画像ファイルを保存しました。",
                          "画像ファイルを保存できませんでした。");
    }
    // Not a format of ours: nothing written, nothing removed.
    return 0;
}

int CModelViewerView::SaveLasFile()
{
    ExportBusyScope busy(m_files->exportBusy);
    ResetDragState();
    SendStatusText("LASファイルを保存しています。");
    MTRX toSurvey;
    {
        std::lock_guard lock(ViewMutex());
        toSurvey = ~m_files->scene.frame.surveyTransform;
    }
    const LasExportSettings settings{m_settings.lasSplitMode, m_settings.lasSizeLimitMb, m_settings.lasCountLimit};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LasExportResult r = ExportLasFile(
        m_files->currentFileName, *m_modelStore, toSurvey, settings,
        [this](const std::function<void()>& dump) {
            std::lock_guard lock(ViewMutex());
            dump();
        },
        PumpWhileWaiting);
    QApplication::restoreOverrideCursor();
    if (!r.notStarted.empty()) Box("起動エラー[" + r.notStarted + "]", tessara::MB_OK);
    return ReportSave(*this, r.ok, "LASファイルを保存しました。", "LASファイルを保存できませんでした。");
}

int CModelViewerView::SaveLandXmlFile()
{
    ExportBusyScope busy(m_files->exportBusy);
    ResetDragState();
    SendStatusText("LandXMLファイルを保存しています。");
    tessara::IProfile* profile = tessara::AppProfile();
    tessara::MemoryProfile scratch;
    int result = 0;
    {
        MTRX toSurvey;
        {
            std::lock_guard lock(ViewMutex());
            toSurvey = ~m_files->scene.frame.surveyTransform;
        }
        const auto& askAttributes = TheExportHooks().landXmlAttributes;
        // The dialog runs with no lock held; once confirmed the store is read locked.
        std::unique_lock lock(ViewMutex(), std::defer_lock);
        result = landxml::ExportLandXmlFile(
            *m_modelStore, toSurvey, m_files->currentFileName, 1, profile ? *profile : scratch,
            [&](LxDATA_Project& p, LxDATA_Application& a, LxDATA_Coordinate& c) {
                const bool ok = askAttributes && askAttributes(p, a, c);
                if (ok) lock.lock();
                return ok;
            },
            landxml::CurrentTimeStamp());
    }
    if (result == -1) {
        SendStatusText("LandXMLファイルの保存をキャンセルしました。");
        return 0;
    }
    return ReportSave(*this, result != 0, "LandXMLファイルを保存しました。", "LandXMLファイルを保存できませんでした。");
}
