#pragma once

#include <qopengl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// Which outline the tool feedback draws for the tool and edit modes and the
// points entered, and how: primitive, passes (line width, red level), stipple.
class ToolFeedbackRules {
public:
    enum class Kind { None, Rectangle, Polygon, Segments, Polyline, Section };
    struct Pass {
        float lineWidth;
        float red;
    };
    struct Band {
        Kind kind = Kind::None;
        GLenum primitive = GL_LINES;
        std::vector<Pass> passes;
        bool stipple = false;
    };
    struct Input {
        std::uint8_t toolMode = 0;
        std::uint8_t editMode = 0;
        bool bandCancelled = false;
        bool pointInput = true;      // the latest polygon point was entered
        std::size_t bandPoints = 0;  // rubber-band points
        std::size_t sectionPoints = 0;
        bool pickedListEmpty = true;
    };

    //! The outline to draw; Kind::None when the points do not make one.
    static Band Choose(const Input& in);
    //! Vertices the outline has (the cross-section line: first point and mouse).
    static std::size_t VertexCount(const Band& band, const Input& in);
};
