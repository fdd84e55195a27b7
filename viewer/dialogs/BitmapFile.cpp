#include "viewer/dialogs/BitmapFile.h"

#include <new>

#include "platform/AtomicFileWriter.h"
#include "platform/Log.h"
#include "viewer/render/COpenGLBaseView.h"

namespace {

constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint64_t kLargestFile = 0xFFFFFFFFull;
// GL errors are a queue; a broken driver might never empty it.
constexpr int kMaxQueuedErrors = 32;

void PutU16(std::uint8_t* at, std::uint16_t v)
{
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::uint8_t* at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Empties the error queue; true when it held nothing.
bool DrainGlErrors(GlFunctions& gl)
{
    bool clean = true;
    for (int i = 0; i < kMaxQueuedErrors && gl.glGetError() != GL_NO_ERROR; ++i) clean = false;
    return clean;
}

// Makes the view's context current for a scope and leaves it again.
class ViewContextScope {
public:
    explicit ViewContextScope(COpenGLBaseView& view) : m_view(view) { m_view.makeCurrent(); }
    ~ViewContextScope() { m_view.doneCurrent(); }
    ViewContextScope(const ViewContextScope&) = delete;
    ViewContextScope& operator=(const ViewContextScope&) = delete;

private:
    COpenGLBaseView& m_view;
};

// Reads from the framebuffer with tight rows, then puts back what it changed.
class PackStateScope {
public:
    PackStateScope(GlFunctions& gl, unsigned framebuffer) : m_gl(gl)
    {
        m_gl.glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &m_readFramebuffer);
        m_gl.glGetIntegerv(GL_PACK_ALIGNMENT, &m_alignment);
        m_gl.glGetIntegerv(GL_PACK_ROW_LENGTH, &m_rowLength);
        m_gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
        m_gl.glPixelStorei(GL_PACK_ALIGNMENT, 4);
        m_gl.glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    }
    ~PackStateScope()
    {
        m_gl.glPixelStorei(GL_PACK_ALIGNMENT, m_alignment);
        m_gl.glPixelStorei(GL_PACK_ROW_LENGTH, m_rowLength);
        m_gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(m_readFramebuffer));
    }
    PackStateScope(const PackStateScope&) = delete;
    PackStateScope& operator=(const PackStateScope&) = delete;

private:
    GlFunctions& m_gl;
    GLint m_readFramebuffer = 0;
    GLint m_alignment = 4;
    GLint m_rowLength = 0;
};

}  // namespace

std::optional<std::uint64_t> BitmapPixelBytes(int width, int height)
{
    if (width <= 0 || height <= 0) return std::nullopt;
    const std::uint64_t n = static_cast<std::uint64_t>(width) * 4u * static_cast<std::uint64_t>(height);
    if (n + kBitmapHeaderBytes > kLargestFile) return std::nullopt;
    return n;
}

std::array<std::uint8_t, kBitmapHeaderBytes> BitmapHeader(int width, int height)
{
    std::array<std::uint8_t, kBitmapHeaderBytes> h{};
    const std::uint64_t n = BitmapPixelBytes(width, height).value_or(0);
    h[0] = 'B';
    h[1] = 'M';
    PutU32(&h[2], static_cast<std::uint32_t>(n + kBitmapHeaderBytes));
    PutU32(&h[10], kBitmapHeaderBytes);
    PutU32(&h[14], kInfoHeaderBytes);
    PutU32(&h[18], static_cast<std::uint32_t>(width));
    PutU32(&h[22], static_cast<std::uint32_t>(height));   // positive: rows bottom-up
    PutU16(&h[26], 1);
    PutU16(&h[28], 32);
    // Compression, image size, resolutions and colour counts stay 0.
    return h;
}

bool WriteBitmapPixels(const std::string& path, int width, int height, std::span<const std::uint8_t> bgra)
{
    const std::optional<std::uint64_t> n = BitmapPixelBytes(width, height);
    if (!n || bgra.size() != *n) return false;
    tessara::AtomicFileWriter file(path);
    if (!file.Open()) return false;
    const auto header = BitmapHeader(width, height);
    if (!file.Write(header.data(), header.size())) return false;
    if (!file.Write(bgra.data(), bgra.size())) return false;
    return file.Commit();
}

bool ReadViewPicture(COpenGLBaseView& view, int width, int height, std::vector<std::uint8_t>& bgra)
{
    bgra.clear();
    const std::optional<std::uint64_t> n = BitmapPixelBytes(width, height);
    if (!n || width > view.ClientWidth() || height > view.ClientHeight()) return false;
    if (!view.IsGlReady() || view.context() == nullptr) return false;
    try {
        bgra.resize(static_cast<std::size_t>(*n));
    } catch (const std::bad_alloc&) {
        tessara::Log("bitmap: no memory for a picture of %d x %d", width, height);
        return false;
    }
    const ViewContextScope current(view);
    GlFunctions& gl = *view.Gl();
    const unsigned framebuffer = view.CompositeFramebuffer();
    if (framebuffer == 0) {
        bgra.clear();
        return false;
    }
    DrainGlErrors(gl);
    {
        const PackStateScope pack(gl, framebuffer);
        gl.glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
    }
    if (!DrainGlErrors(gl)) {
        tessara::Log("bitmap: reading the view's picture failed in GL");
        bgra.clear();
        return false;
    }
    return true;
}

bool WriteBitmapFile(COpenGLBaseView& view, const std::string& path)
{
    const int width = view.ClientWidth();
    const int height = view.ClientHeight();
    std::vector<std::uint8_t> bgra;
    if (!ReadViewPicture(view, width, height, bgra)) return false;
    return WriteBitmapPixels(path, width, height, bgra);
}
