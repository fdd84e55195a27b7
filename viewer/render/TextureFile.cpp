#include "viewer/render/TextureFile.h"

#include "viewer/render/BmpReader.h"
#include "viewer/render/Dib.h"
#include "viewer/render/skGLTexture.h"

#include "outside/MTRX.h"
#include "platform/Files.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <span>

const char* const TextureFile::kFailureMessage =
    "テクスチャの作成に失敗しました\n\nメモリ不足の可能性があります。\n用紙サイズを小さくして試して下さい。";

std::string TextureFile::TempCopyPath() { return tessara::TempFolder() + "~KorfelModel_Texture.tmp"; }

TextureFile::Status TextureFile::Install(GlFunctions& gl, const std::string& bitmapPath,
                                         const std::string& tempCopyPath, std::unique_ptr<skGLTexture>& current)
{
    try {
        const std::optional<std::string> bytes = tessara::ReadWholeFile(bitmapPath);
        if (!bytes) return Status::ReadFailed;
        auto dib = std::make_unique<Dib>();
        const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
        if (BmpReader::ReadBytes(view, *dib) != BmpReader::Status::Ok) return Status::BadBitmap;

        auto texture = std::make_unique<skGLTexture>(gl);
        if (!texture->Create(std::move(dib), kColourKey, true)) return Status::TextureRefused;

        tessara::AtomicFileWriter copy(tempCopyPath);
        if (!copy.Open() || !copy.Write(*bytes) || !copy.Commit()) return Status::CopyFailed;

        current = std::move(texture);
        return Status::Ok;
    } catch (const std::bad_alloc&) {
        return Status::TextureRefused;
    }
}

TexturePlacement TexturePlacement::FromHost(const MTRX& hostToUser, double x, double y, double width,
                                            double height, double angle)
{
    TexturePlacement p;
    p.x = x;
    p.y = y;
    hostToUser.XY(&p.x, &p.y);
    p.width = hostToUser.D(width);
    p.height = hostToUser.D(height);
    // The transform's own turn: the image of the x axis, taken after undoing the
    // axis exchange, which comes first. The exchange mirrors the plane, so the
    // host's angle then runs the other way.
    const bool swapped = hostToUser.m_axis != 0;
    const double turn = swapped ? std::atan2(hostToUser.m[4], hostToUser.m[1])
                                : std::atan2(hostToUser.m[3], hostToUser.m[0]);
    p.angle = turn + (swapped ? -angle : angle);
    return p;
}
