// make-model: writes a model file through the viewer's own model writer from a
// small text that states the scene exactly (see --help), for fixtures and examples.
#include "ModelText.h"

#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/ModelFile.h"
#include "viewer/files/SceneFrame.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("usage: make-model IN.txt OUT.tpf\n\n%s", ModelTextHelp());
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-model IN.txt OUT.tpf   (make-model --help for the text format)\n");
        return 2;
    }
    const auto text = tessara::ReadWholeFile(argv[1]);
    if (!text) {
        std::fprintf(stderr, "make-model: cannot read %s\n", argv[1]);
        return 1;
    }
    CModelDataMng store;
    ModelViewState state;
    std::string error;
    if (!ModelText::Read(*text, store, state, error)) {
        std::fprintf(stderr, "make-model: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const ModelFile::SaveResult saved = ModelFile::Save(argv[2], store, state, fileformat::kEverything);
    if (saved != ModelFile::SaveResult::Ok) {
        std::fprintf(stderr, "make-model: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
