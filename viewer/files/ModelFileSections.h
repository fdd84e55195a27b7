#pragma once

#include <cstdint>

class CElmData;
class CModelDataMng;
class CPCloudMng;
class CVertexMng;
class MTRX;
class ModelArchive;
struct ModelViewState;
struct SceneFrame;

// The sections of a model file or undo snapshot. Each routine stores or loads by
// the archive's direction, so every layout is written and read by the same code.
// Storing reads the live store; loading fills a scratch store that is installed
// only after the whole file was read without fault. Loading checks every count
// against the bytes left, every triangle index against its vertices, and takes a
// NaN z as unset (1e-16); a non-finite x or y fails the archive.
class ModelFileSections {
public:
    // Every section after the header, in file order, for the content flags and
    // the version (loading: the version as stored).
    static void Serialize(ModelArchive& ar, CModelDataMng& store, ModelViewState& state,
                          std::uint16_t flags, std::uint16_t version);

    static void Matrix(ModelArchive& ar, MTRX& m);
    static void Frame(ModelArchive& ar, SceneFrame& frame);
    static void GroupPoints(ModelArchive& ar, CModelDataMng& store, ModelViewState& state, std::uint16_t version);
    static void GroupTins(ModelArchive& ar, CModelDataMng& store, ModelViewState& state, std::uint16_t version);
    static void TinBody(ModelArchive& ar, CVertexMng& tin);
    static void Figure(ModelArchive& ar, CElmData& figure, bool withExtras);
    static void CadFigures(ModelArchive& ar, CModelDataMng& store, std::uint16_t version);
    static void PartDrawing(ModelArchive& ar, CModelDataMng& store, std::uint16_t version);
    static void ViewCloud(ModelArchive& ar, CModelDataMng& store, std::uint16_t version);
    static void CadTin(ModelArchive& ar, CModelDataMng& store);
    static void DisplaySwitches(ModelArchive& ar, ModelViewState& state, std::uint16_t version);
    static void TexturePlacement(ModelArchive& ar, ModelViewState& state);
    // Reading stops after this section: bytes that follow are ignored.
    static void Structures(ModelArchive& ar, CModelDataMng& store);

private:
    static void GroupHeader(ModelArchive& ar, CPCloudMng& group, bool tinSection, std::uint16_t version,
                            int index);
    static void Point3(ModelArchive& ar, double& x, double& y, double& z);
    static void Vertices(ModelArchive& ar, CVertexMng& store);
    static bool ReadGroupPointRecords(ModelArchive& ar, CPCloudMng& group, std::int32_t count);
    static void StoredFloatPoint(ModelArchive& ar, float& x, float& y, float& z);
};
