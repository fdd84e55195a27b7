// Pipe records through the command dispatcher: the input is cut or padded to one
// record. The target only notes the calls; paths are never opened.
#include "FuzzFiles.h"

#include "viewer/files/PipeCommandDispatcher.h"
#include "viewer/files/PipeCommandTarget.h"
#include "viewer/files/PipeMessage.h"

#include <algorithm>
#include <cstring>

namespace {

class NotingTarget : public PipeCommandTarget {
public:
    int LoadHostDataFile(const std::string& path) override { return Note(path); }
    int WriteExchangeFile(const std::string& path, std::int32_t flags, std::int32_t limit) override
    {
        return Note(path) + int(flags & 1) + int(limit & 1);
    }
    int ExportPointsInPolygons(const std::string& path) override { return Note(path); }
    int WriteShownTins(const std::string& path) override { return Note(path); }
    int ReadHostPolygonFile(const std::string& path) override { return Note(path); }
    int ClearHostPolygons() override { return 1; }

private:
    int Note(const std::string& path) { return int(path.size() & 1); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    NotingTarget target;
    PipeCommandDispatcher dispatcher(target);
    // Several records in one input are served in turn, as the pipe reads them.
    std::size_t offset = 0;
    do {
        PipeMessage message;
        const std::size_t n = std::min(PipeMessage::kSize, size - offset);
        if (n > 0) std::memcpy(message.Data(), data + offset, n);
        if (dispatcher.Dispatch(message) == PipeCommandDispatcher::Outcome::Stop) break;
        offset += n;
    } while (offset < size);
    return 0;
}
