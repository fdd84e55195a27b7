#include "ModelText.h"

#include "outside/CElmData.h"
#include "outside/CIndexedTriangle.h"
#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "platform/Numbers.h"
#include "viewer/files/SceneFrame.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kHelp[] =
    "make-model text: one statement a line; '#' starts a comment; numbers in the C locale.\n"
    "Indices are 0-based; a colour is RRGGBB in hex.\n"
    "\n"
    "  center X Y Z                      rendering centre (user coordinates of the model origin)\n"
    "  cad-name NAME                     name of the CAD drawing\n"
    "  texture X Y WIDTH HEIGHT ANGLE    where the TIN picture lies: origin, size (user\n"
    "                                    coordinates) and turn in radians; the picture is\n"
    "                                    the file NAME.jpg beside the model file\n"
    "  group NAME [colour RRGGBB] [hidden] [points-hidden] [tin-hidden]\n"
    "                                    starts a point-cloud group (NAME - for an unnamed one)\n"
    "    p X Y Z [RRGGBB [INTENSITY]]    a point of the current group\n"
    "    v X Y Z                         a TIN vertex of the current group\n"
    "    t A B C                         a TIN triangle of the current group (vertex indices)\n"
    "  figure KIND [colour RRGGBB] [attr N] [z Z]\n"
    "                                    starts a CAD figure; its kind is its CAD layer\n"
    "    fp X Y [Z]                      a point of the figure's current list (no Z: no elevation)\n"
    "    next-list                       starts the second point list of a kind-5 figure\n"
    "  layer-hidden KIND                 the CAD layer of that kind starts hidden\n"
    "  part-point X Y Z [RRGGBB]         a part-drawing point (Z - : no elevation)\n"
    "  part-vertex X Y Z                 a vertex of the part drawing's lines (Z - : none)\n"
    "  part-line A B [VALUE]             a part line between two part vertices; with elevation\n"
    "                                    at both ends it is a 3D line, else a 2D one\n"
    "  structure KIND [second]           starts a 3D-structure store: KIND is Build, RoadBridge,\n"
    "                                    Lighting, UtilityPole, HighTower, RailRoad, Chimney or a\n"
    "                                    slot 0..11; second: the slot's second store\n"
    "    sv X Y Z                        a vertex of the current structure store\n"
    "    st A B C                        a triangle of the current structure store\n"
    "  hide SECTION                      root, cad, cad-tin, part, part-lines, part-points,\n"
    "                                    structures, or a structure kind name\n"
    "  display SWITCH on|off             a display switch the model file leaves: cad, part,\n"
    "                                    tin-edges, tin-points, paper, grid, axis, triad,\n"
    "                                    compass, size-labels; all on but the TIN's edges and\n"
    "                                    points unless stated\n"
    "  display picture MODE              the TIN picture: none, colour, slope, texture or\n"
    "                                    height (the default)\n"
    "  display points MODE               how point clouds are coloured: none (the default),\n"
    "                                    height, rgb, mono, intensity or group\n"
    "\n"
    "Every coordinate is stored as given, in user coordinates (survey east, north and\n"
    "elevation from the host's reference point); the rendering centre only moves the\n"
    "scene for drawing.\n";

// The model file's display switches in their stored order: CAD, part, TIN edges,
// TIN vertices, paper, grid, axis, TIN picture, triad, compass, size labels.
constexpr std::size_t kPictureSwitch = 7;

int DisplaySwitchIndex(const std::string& name)
{
    static const char* const kNames[] = {"cad",  "part", "tin-edges", "tin-points", "paper",      "grid",
                                         "axis", "",     "triad",     "compass",    "size-labels"};
    for (std::size_t i = 0; i < std::size(kNames); ++i)
        if (i != kPictureSwitch && name == kNames[i]) return static_cast<int>(i);
    return -1;
}

// What a surveyor leaves on: the drawings, the display aids and the TIN coloured by
// height; the TIN's edges and points stay off.
constexpr std::array<std::int32_t, 11> kSurveyorDisplay{1, 1, 0, 0, 1, 1, 1, 4, 1, 1, 1};

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

std::optional<COLORREF> ParseColour(const std::string& text)
{
    if (text.size() != 6) return std::nullopt;
    std::uint32_t rgb = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        rgb = rgb * 16 + static_cast<std::uint32_t>(digit);
    }
    // RRGGBB as written; the store keeps 0x00BBGGRR.
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

int StructureSlot(const std::string& name)
{
    static const std::array<const char*, CModelDataMng::kStructureKindCount> kNames = {
        "Build", "RoadBridge", "Lighting", "UtilityPole", "HighTower", "RailRoad", "Chimney"};
    for (std::size_t k = 0; k < kNames.size(); ++k) {
        // Kinds follow the six building slots.
        if (name == kNames[k]) return k == 0 ? 0 : 5 + static_cast<int>(k);
    }
    const std::optional<int> slot = tessara::ParseInt(name);
    return slot && *slot >= 0 && *slot < CModelDataMng::kStructureSlotCount ? *slot : -1;
}

int StructureKind(const std::string& name)
{
    static const std::array<const char*, CModelDataMng::kStructureKindCount> kNames = {
        "Build", "RoadBridge", "Lighting", "UtilityPole", "HighTower", "RailRoad", "Chimney"};
    for (std::size_t k = 0; k < kNames.size(); ++k)
        if (name == kNames[k]) return static_cast<int>(k);
    return -1;
}

class Reader {
public:
    Reader(CModelDataMng& store, ModelViewState& state) : m_store(store), m_state(state) {}

    bool Statement(const std::vector<std::string>& w, std::string& error);
    bool Finish(std::string& error);

private:
    std::optional<double> Number(const std::vector<std::string>& w, std::size_t i, std::string& error) const
    {
        if (i >= w.size()) {
            error = "missing number after " + w[0];
            return std::nullopt;
        }
        const std::optional<double> v = tessara::ParseDouble(w[i]);
        if (!v) error = "not a number: " + w[i];
        return v;
    }
    bool Index(const std::vector<std::string>& w, std::size_t i, std::int64_t limit, std::uint32_t& out,
               std::string& error) const
    {
        const std::optional<std::int64_t> v = i < w.size() ? tessara::ParseInt64(w[i]) : std::nullopt;
        if (!v || *v < 0 || *v >= limit) {
            error = "index " + (i < w.size() ? w[i] : std::string("(missing)")) + " is not one of the " +
                    std::to_string(limit) + " vertices";
            return false;
        }
        out = static_cast<std::uint32_t>(*v);
        return true;
    }
    bool Triangle(const std::vector<std::string>& w, CVertexMng& store, std::string& error) const
    {
        std::uint32_t a = 0, b = 0, c = 0;
        const std::int64_t n = store.GetVertexSize();
        if (!Index(w, 1, n, a, error) || !Index(w, 2, n, b, error) || !Index(w, 3, n, c, error)) return false;
        store.m_triangles.emplace_back(a, b, c);
        return true;
    }
    bool Vertex(const std::vector<std::string>& w, CVertexMng& store, std::string& error) const
    {
        const auto x = Number(w, 1, error), y = Number(w, 2, error), z = Number(w, 3, error);
        if (!x || !y || !z) return false;
        store.AddVertex(static_cast<float>(*x), static_cast<float>(*y), static_cast<float>(*z));
        return true;
    }
    void FinishFigure()
    {
        if (!m_figure) return;
        m_figure->RebuildSegments();
        m_store.m_elmList.push_back(std::move(*m_figure));
        m_figure.reset();
    }

    CModelDataMng& m_store;
    ModelViewState& m_state;
    CPCloudMng* m_group = nullptr;
    std::optional<CElmData> m_figure;
    CVertexMng* m_structure = nullptr;
    std::vector<std::uint8_t> m_hiddenLayers;
};

bool Reader::Statement(const std::vector<std::string>& w, std::string& error)
{
    const std::string& op = w[0];
    if (op == "center") {
        const auto x = Number(w, 1, error), y = Number(w, 2, error), z = Number(w, 3, error);
        if (!x || !y || !z) return false;
        m_store.SetRenderingCenterPt(PT(*x, *y, *z));
        return true;
    }
    if (op == "cad-name") {
        m_store.m_cadName = w.size() > 1 ? w[1] : std::string();
        return true;
    }
    if (op == "texture") {
        for (std::size_t i = 0; i < 5; ++i) {
            const std::optional<double> v = Number(w, i + 1, error);
            if (!v) return false;
            m_state.texturePlacement[i] = *v;
        }
        m_state.hasTexturePlacement = true;
        return true;
    }
    if (op == "group") {
        FinishFigure();
        m_structure = nullptr;
        auto group = std::make_unique<CPCloudMng>();
        group->m_name = w.size() > 1 && w[1] != "-" ? w[1] : std::string();
        group->m_nColor = CModelDataMng::GetDefPointCloudGroupCol(static_cast<std::uint16_t>(m_store.GetGroupCount()));
        group->m_nDataFlag = 1;
        for (std::size_t i = 2; i < w.size(); ++i) {
            if (w[i] == "colour" && i + 1 < w.size()) {
                const auto colour = ParseColour(w[++i]);
                if (!colour) {
                    error = "not a colour: " + w[i];
                    return false;
                }
                group->m_nColor = *colour;
            } else if (w[i] == "hidden") {
                group->m_nShowGroup = 0;
            } else if (w[i] == "points-hidden") {
                group->m_nShowPCloud = 0;
            } else if (w[i] == "tin-hidden") {
                group->m_nShowTin = 0;
            } else {
                error = "unknown group option: " + w[i];
                return false;
            }
        }
        m_group = m_store.GetGroup(m_store.AddGroup(std::move(group)));
        return true;
    }
    if (op == "p" || op == "v" || op == "t") {
        if (!m_group) {
            error = op + " before any group";
            return false;
        }
        if (op == "v") return Vertex(w, *m_group, error);
        if (op == "t") return Triangle(w, *m_group, error);
        const auto x = Number(w, 1, error), y = Number(w, 2, error), z = Number(w, 3, error);
        if (!x || !y || !z) return false;
        COLORREF colour = m_group->m_nColor;
        double intensity = 0;
        if (w.size() > 4) {
            const auto c = ParseColour(w[4]);
            if (!c) {
                error = "not a colour: " + w[4];
                return false;
            }
            colour = *c;
        }
        if (w.size() > 5) {
            const auto i = Number(w, 5, error);
            if (!i) return false;
            intensity = *i;
        }
        m_group->AddCloudPoint(static_cast<float>(*x), static_cast<float>(*y), static_cast<float>(*z), colour,
                               intensity);
        return true;
    }
    if (op == "figure") {
        FinishFigure();
        m_structure = nullptr;
        const std::optional<int> kind = w.size() > 1 ? tessara::ParseInt(w[1]) : std::nullopt;
        if (!kind || *kind < 0 || *kind > 255) {
            error = "figure needs a kind 0..255";
            return false;
        }
        m_figure.emplace();
        m_figure->m_nKind = static_cast<std::uint8_t>(*kind);
        m_figure->m_ptLists.emplace_back();
        for (std::size_t i = 2; i + 1 < w.size(); i += 2) {
            if (w[i] == "colour") {
                const auto colour = ParseColour(w[i + 1]);
                if (!colour) {
                    error = "not a colour: " + w[i + 1];
                    return false;
                }
                m_figure->m_nColor = *colour;
            } else if (w[i] == "attr") {
                const auto attr = tessara::ParseInt(w[i + 1]);
                if (!attr) {
                    error = "not a whole number: " + w[i + 1];
                    return false;
                }
                m_figure->m_nAttr = *attr;
            } else if (w[i] == "z") {
                const auto z = Number(w, i + 1, error);
                if (!z) return false;
                m_figure->m_dZ = *z;
            } else {
                error = "unknown figure option: " + w[i];
                return false;
            }
        }
        if (w.size() % 2 != 0) {
            error = "figure option without a value: " + w.back();
            return false;
        }
        return true;
    }
    if (op == "fp" || op == "next-list") {
        if (!m_figure) {
            error = op + " outside a figure";
            return false;
        }
        if (op == "next-list") {
            if (m_figure->m_nKind != CElmData::kKindTwoLists || m_figure->m_ptLists.size() >= 2) {
                error = "only a figure of kind 5 has a second point list";
                return false;
            }
            m_figure->m_ptLists.emplace_back();
            return true;
        }
        const auto x = Number(w, 1, error), y = Number(w, 2, error);
        if (!x || !y) return false;
        double z = kUnsetDouble;
        if (w.size() > 3) {
            const auto given = Number(w, 3, error);
            if (!given) return false;
            z = *given;
        }
        m_figure->m_ptLists.back().push_back(PT(*x, *y, z));
        return true;
    }
    if (op == "layer-hidden") {
        const std::optional<int> kind = w.size() > 1 ? tessara::ParseInt(w[1]) : std::nullopt;
        if (!kind || *kind < 0 || *kind > 255) {
            error = "layer-hidden needs a kind 0..255";
            return false;
        }
        m_hiddenLayers.push_back(static_cast<std::uint8_t>(*kind));
        return true;
    }
    if (op == "part-point" || op == "part-vertex") {
        const auto x = Number(w, 1, error), y = Number(w, 2, error);
        if (!x || !y) return false;
        std::optional<double> z;
        if (w.size() < 4) {
            error = op + " needs X Y Z (Z - for no elevation)";
            return false;
        }
        if (w[3] != "-") {
            z = Number(w, 3, error);
            if (!z) return false;
        }
        const std::size_t next = 4;
        const float fz = z ? static_cast<float>(*z) : kNoElevationZ;
        if (op == "part-vertex") {
            m_store.m_partVertex.AddVertex(static_cast<float>(*x), static_cast<float>(*y), fz);
            return true;
        }
        COLORREF colour = 0x0000FF;
        if (w.size() > next) {
            const auto c = ParseColour(w[next]);
            if (!c) {
                error = "not a colour: " + w[next];
                return false;
            }
            colour = *c;
        }
        CPCloudMng& points = z ? m_store.m_partPoint3D : m_store.m_partPoint2D;
        points.AddCloudPoint(static_cast<float>(*x), static_cast<float>(*y), fz, colour, 0);
        return true;
    }
    if (op == "part-line") {
        std::uint32_t a = 0, b = 0;
        const std::int64_t n = m_store.m_partVertex.GetVertexSize();
        if (!Index(w, 1, n, a, error) || !Index(w, 2, n, b, error)) return false;
        std::uint32_t value = 0;
        if (w.size() > 3) {
            const auto v = tessara::ParseInt64(w[3]);
            if (!v || *v < 0 || *v > 0xFFFFFFFF) {
                error = "not a line value: " + w[3];
                return false;
            }
            value = static_cast<std::uint32_t>(*v);
        }
        const auto& vs = m_store.m_partVertex.m_vertices;
        const bool threeD = !IsNoElevation(vs[a].z) && !IsNoElevation(vs[b].z);
        (threeD ? m_store.m_partLine3D : m_store.m_partLine2D)
            .push_back({static_cast<std::int32_t>(a), static_cast<std::int32_t>(b), value});
        return true;
    }
    if (op == "structure") {
        FinishFigure();
        m_group = nullptr;
        const int slot = w.size() > 1 ? StructureSlot(w[1]) : -1;
        if (slot < 0) {
            error = "structure needs a kind name or a slot 0..11";
            return false;
        }
        const bool second = w.size() > 2 && w[2] == "second";
        if (w.size() > 2 && !second) {
            error = "unknown structure option: " + w[2];
            return false;
        }
        m_structure = &m_store.m_structure[static_cast<std::size_t>(slot + (second ? CModelDataMng::kStructureSlotCount : 0))];
        return true;
    }
    if (op == "sv" || op == "st") {
        if (!m_structure) {
            error = op + " outside a structure";
            return false;
        }
        return op == "sv" ? Vertex(w, *m_structure, error) : Triangle(w, *m_structure, error);
    }
    if (op == "display") {
        const std::string what = w.size() > 1 ? w[1] : std::string();
        const std::string value = w.size() > 2 ? w[2] : std::string();
        // The named values of the two numbered settings: the point colouring and the TIN picture.
        const auto named = [&](std::initializer_list<const char*> names, const char* setting) -> std::optional<int> {
            int mode = 0;
            for (const char* name : names) {
                if (value == name) return mode;
                ++mode;
            }
            error = std::string("no ") + setting + " called " + value;
            return std::nullopt;
        };
        if (what == "points") {
            const auto mode = named({"none", "height", "rgb", "mono", "intensity", "group"}, "point colouring");
            if (mode) m_state.frame.pointRenderMode = static_cast<std::int16_t>(*mode);
            return mode.has_value();
        }
        if (what == "picture") {
            const auto mode = named({"none", "colour", "slope", "texture", "height"}, "TIN picture");
            if (mode) m_state.displaySwitches[kPictureSwitch] = *mode;
            return mode.has_value();
        }
        const int index = DisplaySwitchIndex(what);
        if (index < 0) {
            error = "no display switch called " + what;
            return false;
        }
        if (value != "on" && value != "off") {
            error = "display " + what + " wants on or off";
            return false;
        }
        m_state.displaySwitches[static_cast<std::size_t>(index)] = value == "on" ? 1 : 0;
        return true;
    }
    if (op == "hide") {
        const std::string what = w.size() > 1 ? w[1] : std::string();
        if (what == "root") m_store.m_nShowRoot = 0;
        else if (what == "cad") m_store.m_nShowCAD = 0;
        else if (what == "cad-tin") m_store.m_nShowCADTin = 0;
        else if (what == "part") m_store.m_nShowPart = 0;
        else if (what == "part-lines") m_store.m_nShowPartLn = 0;
        else if (what == "part-points") m_store.m_nShowPartPt = 0;
        else if (what == "structures") m_store.m_nShow3DStructure = 0;
        else if (const int kind = StructureKind(what); kind >= 0) m_store.m_nShowStructure[static_cast<std::size_t>(kind)] = 0;
        else {
            error = "nothing to hide called " + what;
            return false;
        }
        return true;
    }
    error = "unknown statement: " + op;
    return false;
}

bool Reader::Finish(std::string& error)
{
    FinishFigure();
    for (const CElmData& figure : m_store.m_elmList) {
        if (!figure.IsValid()) {
            error = "a figure of kind " + std::to_string(figure.m_nKind) + " has a coordinate that is not finite";
            return false;
        }
    }
    m_store.RebuildCadLayers();
    for (std::uint8_t kind : m_hiddenLayers) {
        const int layer = m_store.FindCadLayer(kind);
        if (layer < 0) {
            error = "layer-hidden " + std::to_string(kind) + ": no figure of that kind";
            return false;
        }
        m_store.m_cadLayers[static_cast<std::size_t>(layer)].show = 0;
    }
    for (int g = 0; g < m_store.GetGroupCount(); ++g) {
        if (CPCloudMng* group = m_store.GetGroup(g)) {
            group->CreateGrid();
            static_cast<CVertexMng*>(group)->CreateGrid();
        }
    }
    for (CVertexMng& store : m_store.m_structure) store.CreateGrid();
    m_state.groupsShown = m_store.m_nShowRoot;
    return true;
}

} // namespace

bool ModelText::Read(std::string_view text, CModelDataMng& store, ModelViewState& state, std::string& error)
{
    state.displaySwitches = kSurveyorDisplay;
    Reader reader(store, state);
    std::size_t lineNo = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        std::string line(text.substr(pos, end - pos));
        pos = end + 1;
        ++lineNo;
        if (const std::size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        const std::vector<std::string> words = Words(line);
        if (words.empty()) {
            if (end == text.size()) break;
            continue;
        }
        std::string why;
        if (!reader.Statement(words, why)) {
            error = "line " + std::to_string(lineNo) + ": " + why;
            return false;
        }
        if (end == text.size()) break;
    }
    std::string why;
    if (!reader.Finish(why)) {
        error = why;
        return false;
    }
    return true;
}

const char* ModelTextHelp()
{
    return kHelp;
}
