// The main view's TIN texture: bitmap files and host pictures.
#include "viewer/render/CModelViewerView.h"
#include "platform/Log.h"

#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/render/TextureFile.h"
#include "viewer/render/skGLTexture.h"

#include "platform/Files.h"
#include "platform/MessageBox.h"

#include <mutex>


void CModelViewerView::CreateTextureFromBitmap(std::string path)
{
    if (!m_buffers || !IsGlReady()) return;
    makeCurrent();
    const TextureFile::Status status =
        TextureFile::Install(*Gl(), path, TextureFile::TempCopyPath(), m_buffers->texture);
    if (status == TextureFile::Status::Ok) {
        // The new picture stands in for one a model load left behind.
        if (m_files) m_files->textureDropped.store(0);
        // Textured faces take their coordinates from the new picture's frame.
        m_buffers->book.InvalidateAll();
        update();
        return;
    }
    tessara::Log("texture from %s not made (status %d)", path.c_str(), static_cast<int>(status));
    tessara::MessageBox(TextureFile::kFailureMessage, tessara::kDefaultMessageCaption, tessara::MB_ICONHAND, this);
}

int CModelViewerView::LoadGeoTexture(const char* path, double x, double y, double width, double height,
                                     double angle)
{
    if (!m_buffers || path == nullptr) return 0;
    const std::string file = path;
    skGLTexture* before = m_buffers->texture.get();
    CreateTextureFromBitmap(file);
    const bool loaded = m_buffers->texture && m_buffers->texture.get() != before;
    // The host's picture is ours to delete once it is on the texture; a picture
    // that failed stays for the host to look at.
    if (loaded) tessara::DeleteFile(file);
    if (m_files) {
        // Kept in the files state, in user coordinates: the textured faces take it
        // from there and a saved model file carries it.
        std::lock_guard lock(ViewMutex());
        const TexturePlacement p =
            TexturePlacement::FromHost(m_files->scene.frame.surveyTransform, x, y, width, height, angle);
        m_files->scene.texturePlacement = {p.x, p.y, p.width, p.height, p.angle};
        m_buffers->book.InvalidateAll();
    }
    return m_buffers->texture ? 1 : 0;
}
