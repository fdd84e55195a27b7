// fake-host: plays the host for tests and manual runs.
//   fake-host send CODE [PATH] [ARGS]   one request on the viewer's pipe, reply printed
//   fake-host serve FIXTURE-DIR [--send-first] [--count N]
//                                        serves the host's pipe from a fixture folder
//   fake-host wait [SECONDS]             returns once the viewer's pipe is up (0), or 1
//                                        after SECONDS (60 when not given)
#include "HostFileWriter.h"

#include "outside/CNamedPipe.h"
#include "viewer/files/PipeCommandCodes.h"
#include "viewer/files/PipeMessage.h"
#include "viewer/files/PipePaths.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kMagic = 0x40474C56;

int Usage()
{
    std::fprintf(stderr,
                 "usage: fake-host send CODE [PATH] [ARGS]\n"
                 "         1 PATH (host data), 4 PATH [FLAGS LIMIT] (exchange file; flags 1 TIN, 2 points),\n"
                 "         18 PATH (points in the polygons of PATH), 19 PATH (shown TINs),\n"
                 "         20 PATH (overlay file), 21 (clear the overlay), 11 (stop), 22 (no operation)\n"
                 "       fake-host serve FIXTURE-DIR [--send-first] [--count N]\n"
                 "       fake-host wait [SECONDS]\n");
    return 2;
}

// The counts at the head of a file the viewer wrote back (commands 18, 19): the
// number after the magic and version, or -1 when the file is not there or not ours.
std::int32_t LeadingCount(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::uint32_t magic = 0;
    std::uint16_t version = 0;
    std::int32_t count = -1;
    in.read(reinterpret_cast<char*>(&magic), 4);
    in.read(reinterpret_cast<char*>(&version), 2);
    in.read(reinterpret_cast<char*>(&count), 4);
    return in && magic == kMagic && version == 0x0100 ? count : -1;
}

// Prints the fields the command fills in its reply, one line.
void PrintReply(const PipeMessage& m)
{
    const unsigned code = m.Code();
    const auto path = PipePathAt(m, PipeMessage::kPathOffset);
    std::printf("code=%u result=%d", code, m.Result());
    if (code == pipecmd::kWriteExchange) {
        std::printf(" items=%d", m.Int32At(PipeMessage::kItemCountOffset));
    } else if (code == pipecmd::kPointsInPolygons) {
        std::printf(" points=%d polygons=%d", m.Int32At(PipeMessage::kHandlerResultOffset),
                    path ? LeadingCount(*path) : -1);
    } else if (code == pipecmd::kWriteShownTins) {
        std::printf(" triangles=%d tins=%d", m.Int32At(PipeMessage::kHandlerResultOffset),
                    path ? LeadingCount(*path) : -1);
    }
    std::printf("\n");
    std::fflush(stdout);
}

bool Exchange(const char* pipeName, PipeMessage& m)
{
    CNamedPipe pipe;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!pipe.Open(pipeName)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (pipe.GetLastError() == CNamedPipe::kErrorPipeBusy) {
            CNamedPipe::Wait(pipeName, 1000);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    pipe.SetTimeout(120000);
    return pipe.Write(m.Data(), PipeMessage::kSize) && pipe.Read(m.Data(), PipeMessage::kSize);
}

int Send(int argc, char** argv)
{
    if (argc < 3) return Usage();
    const int code = std::atoi(argv[2]);
    PipeMessage m;
    m.SetCode(std::uint8_t(code));
    if (argc > 3 && !SetPipePathAt(m, PipeMessage::kPathOffset, argv[3])) {
        std::fprintf(stderr, "fake-host: the path does not fit the record\n");
        return 2;
    }
    if (code == pipecmd::kWriteExchange) {
        m.SetInt32At(PipeMessage::kExchangeFlagsOffset, argc > 4 ? std::atoi(argv[4]) : 3);
        m.SetInt32At(PipeMessage::kPointLimitOffset, argc > 5 ? std::atoi(argv[5]) : 0);
    }
    if (!Exchange(pipecmd::kViewerPipeName, m)) {
        std::fprintf(stderr, "fake-host: no reply from the viewer\n");
        return 1;
    }
    PrintReply(m);
    return m.Result() != 0 ? 0 : 1;
}

// A copy of the fixture's first host data file (the viewer deletes what it loads),
// or a small generated one.
std::string HostFileCopy(const fs::path& fixture, const std::string& stem)
{
    const fs::path out = fs::temp_directory_path() / (stem + "-" + std::to_string(::getpid()) + ".dat");
    for (const auto& entry : fs::directory_iterator(fixture)) {
        if (entry.path().extension() == ".dat") {
            fs::copy_file(entry.path(), out, fs::copy_options::overwrite_existing);
            return out.string();
        }
    }
    std::vector<std::uint8_t> bytes;
    hostfile::WriteHostFile(hostfile::MakeExample({200, 0, 4, 0}), bytes);
    hostfile::SaveBytes(out.string(), bytes);
    return out.string();
}

// Command 10: the exchange file must hold the item count the request names.
bool ExchangeFileMatches(const std::string& path, std::int32_t items)
{
    std::ifstream in(path, std::ios::binary);
    std::uint32_t magic = 0;
    std::uint16_t version = 0;
    std::int32_t flags = 0, zero = -1, count = -1;
    in.read(reinterpret_cast<char*>(&magic), 4);
    in.read(reinterpret_cast<char*>(&version), 2);
    in.read(reinterpret_cast<char*>(&flags), 4);
    in.read(reinterpret_cast<char*>(&zero), 4);
    in.read(reinterpret_cast<char*>(&count), 4);
    return in && magic == kMagic && version == 0x0100 && (flags & 1) && zero == 0 && count == items && items > 0;
}

void SendLoad(const fs::path& fixture)
{
    PipeMessage load;
    load.SetCode(pipecmd::kLoadHostData);
    SetPipePathAt(load, PipeMessage::kPathOffset, HostFileCopy(fixture, "fake-host-load"));
    const bool ok = Exchange(pipecmd::kViewerPipeName, load);
    std::printf("sent 1: %s result=%d\n", ok ? "answered" : "no reply", load.Result());
    std::fflush(stdout);
}

void Answer(PipeMessage& m, const fs::path& fixture, bool sendFirst)
{
    const std::uint8_t code = m.Code();
    std::printf("request %u\n", unsigned(code));
    std::fflush(stdout);
    switch (code) {
    case pipecmd::kGetHostCad: {
        const fs::path out = fs::temp_directory_path() / ("fake-host-cad-" + std::to_string(::getpid()) + ".dat");
        std::vector<std::uint8_t> bytes;
        hostfile::WriteHostFile(hostfile::MakeExample({0, 0, 8, 4}), bytes);
        hostfile::SaveBytes(out.string(), bytes);
        m.Clear();
        m.SetCode(code);
        m.SetResult(1);
        SetPipePathAt(m, PipeMessage::kCadDataPathOffset, out.string());
        for (int i = 0; i < 4; ++i) m.SetDoubleAt(PipeMessage::kClipRectOffset + 8 * i, 10.0 * (i + 1));
        break;
    }
    case pipecmd::kRegisterTin: {
        const auto path = PipePathAt(m, PipeMessage::kPathOffset);
        m.SetResult(path && ExchangeFileMatches(*path, m.Int32At(PipeMessage::kItemCountOffset)) ? 1 : 0);
        break;
    }
    case pipecmd::kFetchTexture: {
        const fs::path image = fixture / "texture.bmp";
        m.SetResult(fs::exists(image) ? 1 : 0);
        SetPipePathAt(m, PipeMessage::kPathOffset, image.string());
        const double placement[5] = {0.0, 0.0, 100.0, 100.0, 0.0};
        for (int i = 0; i < 5; ++i) m.SetDoubleAt(PipeMessage::kTextureXOffset + 8 * i, placement[i]);
        break;
    }
    case pipecmd::kWindowPlacement:
        m.SetResult(1);
        for (int i = 0; i < 4; ++i) m.SetInt32At(PipeMessage::kWindowRectOffset + 4 * i, (i % 2 ? 768 : 1024) * (i / 2));
        break;
    case pipecmd::kFetchHostCad:
    case pipecmd::kGetPointClouds:
        // A host may send its data before it answers the request.
        if (sendFirst) SendLoad(fixture);
        m.SetResult(1);
        break;
    default:
        m.SetResult(0);
        break;
    }
}

int Serve(int argc, char** argv)
{
    if (argc < 3) return Usage();
    const fs::path fixture = argv[2];
    bool sendFirst = false;
    long count = -1;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--send-first") {
            sendFirst = true;
        } else if (arg == "--count" && i + 1 < argc) {
            count = std::atol(argv[++i]);
        } else {
            return Usage();
        }
    }
    CNamedPipe server;
    if (!server.Create(pipecmd::kHostPipeName)) {
        std::fprintf(stderr, "fake-host: cannot serve the host's pipe\n");
        return 1;
    }
    std::printf("serving\n");
    std::fflush(stdout);
    server.SetTimeout(10000);
    for (long served = 0; count < 0 || served < count; ++served) {
        if (!server.Connect()) continue;
        PipeMessage m;
        if (server.Read(m.Data(), PipeMessage::kSize)) {
            const std::uint8_t code = m.Code();
            Answer(m, fixture, sendFirst);
            if (server.Write(m.Data(), PipeMessage::kSize)) server.Flush();
            server.Disconnect();
            if (!sendFirst && (code == pipecmd::kFetchHostCad || code == pipecmd::kGetPointClouds)) SendLoad(fixture);
        } else {
            server.Disconnect();
        }
    }
    return 0;
}

// Waits in rounds of the pipe's own longest wait, so the viewer may take long to start.
int WaitForViewer(int argc, char** argv)
{
    const long seconds = argc > 2 ? std::atol(argv[2]) : 60;
    if (seconds <= 0) return Usage();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const auto round = std::clamp<long long>(left.count(), 0, CNamedPipe::kMaxWaitMs);
        if (CNamedPipe::Wait(pipecmd::kViewerPipeName, std::uint32_t(round))) return 0;
        if (round == 0) {
            std::fprintf(stderr, "fake-host: the viewer's pipe did not come up within %ld s\n", seconds);
            return 1;
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    const std::string verb = argv[1];
    if (verb == "send") return Send(argc, argv);
    if (verb == "serve") return Serve(argc, argv);
    if (verb == "wait") return WaitForViewer(argc, argv);
    return Usage();
}
