// Model files and the view state they carry besides the store.
#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/ModelFile.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/LongWorkGuard.h"

#include <QMetaObject>
#include <QThread>

#include <mutex>

namespace {

constexpr int kTinPictureTexture = 3;
constexpr int kTinPictureTextureShown = 4;
constexpr const char* kTextureCopyName = "~KorfelModel_Texture.tmp";

}  // namespace

void CModelViewerView::ShowFilesMessage(const std::string& text, unsigned flags)
{
    if (QThread::currentThread() == thread()) {
        tessara::MessageBox(text, filetexts::kCaption, flags);
        return;
    }
    QMetaObject::invokeMethod(
        this, [text, flags] { tessara::MessageBox(text, filetexts::kCaption, flags); }, Qt::QueuedConnection);
}

void CModelViewerView::CollectSceneState()
{
    ModelViewState& st = m_files->scene;
    st.rotationCentre = {m_rotationCentre.x(), m_rotationCentre.y(), m_rotationCentre.z()};
    st.frame.pointRenderMode = m_pointColourMode;
    const ViewSettings& v = m_settings;
    st.displaySwitches = {v.cadSwitch, v.partSwitch, v.tinEdgeSwitch, v.tinPointSwitch, v.paper, v.grid,
                          v.axis,      v.tinPictureMode, v.xyzMark, v.compassMark, v.sizeCaption};
}

void CModelViewerView::ApplySceneState(std::uint16_t /*flags*/, std::uint16_t version)
{
    ModelViewState& st = m_files->scene;
    m_rotationCentre = QVector3D(st.rotationCentre[0], st.rotationCentre[1], st.rotationCentre[2]);
    m_pointColourMode = st.frame.pointRenderMode;
    if (version != fileformat::kModelVersion0103) {
        ViewSettings& v = m_settings;
        const auto& d = st.displaySwitches;
        v.cadSwitch = d[0], v.partSwitch = d[1], v.tinEdgeSwitch = d[2], v.tinPointSwitch = d[3];
        v.paper = d[4], v.grid = d[5], v.axis = d[6], v.tinPictureMode = d[7];
        v.xyzMark = d[8], v.compassMark = d[9], v.sizeCaption = d[10];
    }
    if (m_settings.tinPictureMode == kTinPictureTexture) m_settings.tinPictureMode = kTinPictureTextureShown;
}

int CModelViewerView::SaveModelArchiveLocked(const std::string& path, std::uint16_t flags, std::string& failure)
{
    CollectSceneState();
    switch (ModelFile::Save(path, *m_modelStore, m_files->scene, flags)) {
    case ModelFile::SaveResult::Ok:
        return 1;
    case ModelFile::SaveResult::NoSpace:
        failure = filetexts::kNoDiskSpace;
        return 0;
    default:
        return 0;
    }
}

int CModelViewerView::SaveModelArchive(const std::string& path, std::uint16_t contentFlags)
{
    LongWorkGuard saving(LongWorkGuard::Kind::Saving);
    std::string failure;
    int result = 0;
    {
        std::lock_guard lock(ViewMutex());
        result = SaveModelArchiveLocked(path, contentFlags, failure);
    }
    if (!failure.empty()) ShowFilesMessage(failure, tessara::MB_OK | tessara::MB_ICONHAND);
    return result;
}

int CModelViewerView::LoadModelArchive(const std::string& path)
{
    LongWorkGuard loading(LongWorkGuard::Kind::Other);
    ModelFile::Loaded loaded;
    if (ModelFile::Read(path, loaded) != ModelFile::LoadResult::Ok) return 0;
    {
        std::lock_guard lock(ViewMutex());
        if (!ModelFile::FitsInto(loaded, *m_modelStore)) return 0;
        if (loaded.flags & (fileformat::kViewCloud | fileformat::kCadTin)) {
            // The picture is not part of the file: its copy goes, the caller loads
            // it again. The placement goes too, unless the file holds its own,
            // which the install then puts in its stead.
            const std::string copy = tessara::TempFolder() + kTextureCopyName;
            if (tessara::FileExists(copy)) tessara::DeleteFile(copy);
            for (int i = 0; i < 4; ++i) m_files->scene.texturePlacement[std::size_t(i)] = 0.0;
            m_files->textureDropped.store(1);
        }
        ModelFile::Install(loaded, *m_modelStore, m_files->scene, m_files->clearData);
        ApplySceneState(loaded.flags, loaded.version);
        InvalidateAllBuffers();
    }
    RebuildPickCache();
    m_groupTreeDirty = 1;
    InvalidateScene();
    return 1;
}
