#pragma once

#include <string>
#include <string_view>

class CModelDataMng;
struct ModelViewState;

// Reads the make-model text: a scene stated exactly (groups with their points and
// TIN triangles, CAD figures with their kinds and layers, the part drawing, 3D
// structures), one statement a line. The format is described by ModelTextHelp().
//
// Coordinates are stored as given: group points, TIN, part and structure
// coordinates as the store holds them (model coordinates), CAD figure points as
// user coordinates; with the default centre 0 0 0 the two are the same.
class ModelText {
public:
    // Fills store and state (both fresh) from text; false with error set to
    // "line N: ..." at the first bad statement (store and state then hold what came
    // before it).
    static bool Read(std::string_view text, CModelDataMng& store, ModelViewState& state, std::string& error);
};

//! The format, as make-model --help prints it.
const char* ModelTextHelp();
