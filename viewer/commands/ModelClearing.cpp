#include "viewer/commands/ModelClearing.h"

#include "viewer/files/FileFormatConstants.h"

#include <algorithm>
#include <initializer_list>

namespace clearing {

using namespace fileformat;

std::vector<DrawableKind> KindsToRelease(std::uint16_t flags, std::uint16_t version)
{
    std::vector<DrawableKind> kinds;
    const auto add = [&](std::initializer_list<DrawableKind> more) {
        for (DrawableKind k : more)
            if (std::find(kinds.begin(), kinds.end(), k) == kinds.end())
                kinds.push_back(k);
    };
    const std::initializer_list<DrawableKind> cadTin = {DrawableKind::CadTinFaces, DrawableKind::CadTinTextured,
                                                        DrawableKind::CadTinEdges, DrawableKind::CadTinVertices};
    if (flags & kGroupPoints)
        add({DrawableKind::GroupCloud, DrawableKind::Selection});
    if (flags & kGroupTins)
        add({DrawableKind::GroupTinFaces, DrawableKind::GroupTinTextured, DrawableKind::GroupTinEdges,
             DrawableKind::GroupTinVertices});
    if (flags & kCadFigures) {
        add({DrawableKind::CadFigure, DrawableKind::CadHighlight});
        if (version < kModelVersion0102)
            add(cadTin);
    }
    if (flags & kViewCloud)
        add({DrawableKind::ViewCloud, DrawableKind::ViewCloudTinFaces, DrawableKind::ViewCloudTinTextured,
             DrawableKind::ViewCloudTinEdges, DrawableKind::ViewCloudTinVertices});
    if (flags & kPartDrawing)
        add({DrawableKind::PartLayer});
    if (flags & kCadTin)
        add(cadTin);
    if (flags & kStructures) {
        for (int k = static_cast<int>(DrawableKind::BuildTinFaces); k <= static_cast<int>(DrawableKind::ChimneyTinVertices);
             ++k)
            add({static_cast<DrawableKind>(k)});
    }
    return kinds;
}

} // namespace clearing
