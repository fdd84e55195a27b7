#pragma once

#include "viewer/files/SceneFrame.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CModelDataMng;

// Whole model files and undo snapshots: the header (magic, version, content
// flags) around the sections. A save goes to a sibling temporary file that
// replaces the old one only when complete; a load reads the whole file into a
// scratch store first, so a damaged file changes nothing.
class ModelFile {
public:
    enum class SaveResult { Ok, NoSpace, CannotCreate, WriteFailed };
    // A model file is synced to the disk before it replaces the old one; an undo
    // snapshot is scratch (the next start deletes it), complete but not synced.
    enum class Durability { Synced, Scratch };
    enum class LoadResult { Ok, Missing, CannotOpen, WrongMagic, WrongVersion, Damaged, DoesNotFit };

    // A file read completely, waiting to be installed.
    struct Loaded {
        Loaded();
        ~Loaded();
        std::uint16_t version = 0;
        std::uint16_t flags = 0;
        std::unique_ptr<CModelDataMng> scratch;
        ModelViewState state;
        std::string error;
    };

    // The caller holds the view mutex: the store is read throughout.
    static SaveResult Save(const std::string& path, CModelDataMng& store, ModelViewState& state,
                           std::uint16_t flags, Durability durability = Durability::Synced);
    // Bytes the save may need: 36 per group point, 12 per group TIN element, plus 1 GiB.
    static std::uint64_t EstimateBytes(const CModelDataMng& store, std::uint16_t flags);

    // Reads into out.scratch; touches no live data.
    static LoadResult Read(const std::string& path, Loaded& out);
    // False when a file of some content flags addresses more groups than the
    // live store holds (group records are installed by index).
    static bool FitsInto(const Loaded& in, const CModelDataMng& live);
    // The clearing a load runs first, with the file's content flags and version.
    // The view's clearing clears the store through ClearContent and drops what it
    // holds of the cleared content besides.
    using ClearFn = std::function<void(std::uint16_t flags, std::uint16_t version)>;
    // The caller holds the view mutex: clears what the flags name (through clear
    // when given, else ClearContent), then moves the scratch content in. Call only
    // after FitsInto.
    static void Install(Loaded& in, CModelDataMng& live, ModelViewState& liveState, const ClearFn& clear = {});
    // What a load clears first (also the model-data clear of the commands).
    static void ClearContent(CModelDataMng& store, ModelViewState& state, std::uint16_t flags, std::uint16_t version);
};
