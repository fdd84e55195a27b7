#pragma once

#include "viewer/render/GlFunctions.h"

#include <memory>
#include <string>

class MTRX;
class skGLTexture;

// Puts a bitmap file on the view's one texture, keeping a copy of the file in
// the user's temp folder for the model file writer. The new texture is made
// first and the copy replaced atomically before the old texture goes, so any
// failure leaves the previous texture and its copy as they were.
class TextureFile {
public:
    enum class Status { Ok, ReadFailed, BadBitmap, TextureRefused, CopyFailed };

    //! The user's message for every failure, under the application's caption.
    static const char* const kFailureMessage;
    //! Colour key of pictures from files: white is transparent.
    static constexpr int kColourKey = 0xFFFFFF;

    //! With the context current. On Ok, current holds the new texture.
    static Status Install(GlFunctions& gl, const std::string& bitmapPath, const std::string& tempCopyPath,
                          std::unique_ptr<skGLTexture>& current);
    //! "~KorfelModel_Texture.tmp" in the user's private temp folder.
    static std::string TempCopyPath();
};

// Where a host picture lies, in the viewer's user coordinates.
struct TexturePlacement {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    double angle = 0.0;  // radians

    //! From the host's survey placement through the host-to-user transform.
    static TexturePlacement FromHost(const MTRX& hostToUser, double x, double y, double width, double height,
                                     double angle);
};
