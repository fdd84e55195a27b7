#include "viewer/render/ToolFeedbackRules.h"

#include "viewer/render/ViewConstants.h"

ToolFeedbackRules::Band ToolFeedbackRules::Choose(const Input& in)
{
    using namespace toolmode;
    Band b;
    if (in.toolMode == kTinEdgeSwap || !in.pickedListEmpty) return b;
    const std::vector<Pass> threeThin{{2.0f, 0.5f}, {1.0f, 0.5f}, {1.0f, 1.0f}};
    const std::size_t n = in.bandPoints;
    switch (in.toolMode) {
    case kTwoPointLines:
        if (n >= 2) b = {Kind::Segments, GL_LINES, threeThin, false};
        break;
    case kPolyline:
        if (n >= 2) b = {Kind::Polyline, n < 3 ? GLenum(GL_LINES) : GLenum(GL_LINE_STRIP), {{4, 0.5f}, {2, 0.5f}, {2, 1.0f}}, false};
        break;
    case kSection:
        if (in.sectionPoints == 1) b = {Kind::Section, GL_LINES, {{2.0f, 0.5f}}, false};
        break;
    default:
        if (in.editMode == 0) {
            if (!in.bandCancelled && n == 4) b = {Kind::Rectangle, GL_LINE_LOOP, {{2.0f, 0.5f}}, true};
        } else if (in.editMode == 1 && n >= 2) {
            b = {Kind::Polygon, n < 3 ? GLenum(GL_LINES) : GLenum(GL_LINE_LOOP), threeThin, !in.pointInput};
        }
        break;
    }
    return b;
}

std::size_t ToolFeedbackRules::VertexCount(const Band& band, const Input& in)
{
    switch (band.kind) {
    case Kind::None: return 0;
    case Kind::Section: return 2;
    default: return in.bandPoints;
    }
}
