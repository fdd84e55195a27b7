// The model file reader on any bytes. A file that loads is installed into a store that
// already holds groups and saved again, and what was saved must load again.
#include "FuzzFiles.h"

#include "viewer/files/ModelFile.h"

#include "outside/CModelDataMng.h"
#include "outside/CPCloudMng.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

void AddGroups(CModelDataMng& store)
{
    for (int g = 0; g < 3; ++g) {
        auto group = std::make_unique<CPCloudMng>();
        group->m_name = "group" + std::to_string(g);
        for (int i = 0; i < 4; ++i) group->AddCloudPoint(float(i), float(g), 1.0f, 0x00112233u, 0.5);
        store.AddGroup(std::move(group));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::InputFile file(data, size);
    ModelFile::Loaded loaded;
    if (ModelFile::Read(file.Path(), loaded) != ModelFile::LoadResult::Ok) return 0;

    CModelDataMng live;
    AddGroups(live);
    ModelViewState state;
    if (!ModelFile::FitsInto(loaded, live)) return 0;
    const std::uint16_t flags = loaded.flags;
    ModelFile::Install(loaded, live, state);

    const std::string saved = fuzzsupport::ScratchFolder() + "saved.tpf";
    if (ModelFile::Save(saved, live, state, flags) == ModelFile::SaveResult::Ok) {
        ModelFile::Loaded again;
        if (ModelFile::Read(saved, again) != ModelFile::LoadResult::Ok) {
            std::fprintf(stderr, "a saved model file does not load: %s\n", again.error.c_str());
            std::abort();
        }
    }
    fuzzsupport::ClearScratchFolder();
    return 0;
}
