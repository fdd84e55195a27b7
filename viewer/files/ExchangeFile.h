#pragma once

#include "outside/MTRX.h"
#include "outside/SelPCloud.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class BufferedFileWriter;
class CModelDataMng;
class CVertexMng;

// The files the viewer hands to the host: the exchange file (pipe command 4 and the
// TIN-to-CAD command), the points inside the host's polygons (command 18) and the
// shown TINs (command 19). Coordinates are the host's: x and y through toSurvey
// (the inverse of the survey transform), z as stored.
//
// Every count in these files equals the records that follow it, so the host never
// reads past what is there; a file is written beside its target and renamed over it
// when complete, and a writer that fails or is aborted leaves no new file.
class ExchangeFile {
public:
    static constexpr std::uint32_t kMagic = 0x40474C56;
    static constexpr std::uint16_t kVersion = 0x0100;
    static constexpr int kTinPart = 0x01;
    static constexpr int kPointPart = 0x02;
    static constexpr int kTinLines = 0;
    static constexpr int kTinPoints = 1;
    static constexpr std::uint8_t kPointFigure = 11;
    static constexpr std::uint8_t kLineFigure = 12;
    static constexpr std::uint32_t kPointFigureColour = 0x0000CC;
    static constexpr std::uint32_t kLineFigureColour = 0x4D4D4D;

    //! Progress of the TIN writers: (maximum, position) -> 0 go on, -1 the abort
    //! question is open (asked again until it changes), -2 abort.
    using ProgressFn = std::function<int(std::int64_t maximum, std::int64_t position)>;

    ExchangeFile(const CModelDataMng& store, const MTRX& toSurvey) : m_store(store), m_toSurvey(toSurvey) {}

    //! The point selection; with at least one entry the point part holds the
    //! selected points of shown groups (the limit then plays no part).
    void SetSelection(const std::vector<SelPCloud>* selection) { m_selection = selection; }
    //! The TIN part's layer flag of the flag-only form (the CAD slot of figure type
    //! 50 holds built figures).
    void SetCadLayerFlag(bool flag) { m_cadLayerFlag = flag; }
    void SetProgress(ProgressFn progress) { m_progress = std::move(progress); }
    //! Called with the progress display's end after the TIN writers' last figure.
    void SetProgressEnd(std::function<void()> end) { m_progressEnd = std::move(end); }

    //! The exchange file: items written (TIN figures plus points); 0 and no new file
    //! when it cannot be written whole or a TIN writer was aborted.
    int WriteExchangeFile(const std::string& path, int contentFlags, int pointLimit, int tinType);
    //! Points of the shown groups inside each polygon of the host's polygon file at
    //! path, written back to the same path; the total written. A file that is not
    //! the host's (wrong magic) is left alone and gives 0; a damaged one P = 0.
    int ExportPointsInPolygons(const std::string& path);
    //! Every shown TIN with its vertices and triangles; the triangles written, 0
    //! when the file cannot be written.
    int WriteShownTins(const std::string& path);

    //! The writers of the file's parts: the count written, nullopt after an abort
    //! or a count beyond 32 bits.
    std::optional<std::int64_t> WriteExchangeTinVertices(BufferedFileWriter& out);
    std::optional<std::int64_t> WriteExchangeTinEdges(BufferedFileWriter& out);
    std::optional<std::int64_t> WriteExchangePoints(BufferedFileWriter& out, int pointLimit);

    //! The TIN stores the exchange file takes, in order: shown groups, the view
    //! cloud, the CAD TIN (all only with the root shown).
    std::vector<const CVertexMng*> ExchangeTinSources() const;

private:
    template <class ItemsOf, class PutItem>
    std::optional<std::int64_t> WriteFigures(BufferedFileWriter& out, ItemsOf itemsOf, PutItem putItem);
    // Reports one step; false when the user aborted.
    bool Step(std::int64_t maximum, std::int64_t position);
    void PutHostPoint(BufferedFileWriter& out, double x, double y, double z) const;

    const CModelDataMng& m_store;
    MTRX m_toSurvey;
    const std::vector<SelPCloud>* m_selection = nullptr;
    bool m_cadLayerFlag = false;
    ProgressFn m_progress;
    std::function<void()> m_progressEnd;
};

//! The host's polygon file of command 18, read whole: polygons of host points.
//! Counts are bounded by the bytes left; nullopt for a file that is not the host's.
struct HostPolygonList {
    bool hostFile = false;               // magic matched
    std::vector<std::vector<PT>> polygons;
};
HostPolygonList ReadHostPolygonList(const std::string& path);
