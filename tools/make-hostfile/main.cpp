// make-hostfile: writes host data files (and polygon files for pipe command 18)
// as the host would, sound or deliberately broken, for tests and manual runs.
#include "HostFileWriter.h"
#include "SiteExample.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: make-hostfile [--points N] [--tin N] [--cad N] [--part N] [--name TEXT]\n"
                 "                     [--polygons N] [--overlay P,S,G] [--broken KIND] OUT\n"
                 "       make-hostfile --site [--spacing METRES] OUT\n"
                 "       make-hostfile --site-model OUT.txt\n"
                 "       make-hostfile --site-picture OUT.ppm\n"
                 "  --site: the example site around the reference point (ground cloud, CAD figures,\n"
                 "          traverse); --site-model: the same site as make-model text;\n"
                 "          --site-picture: the site seen from above (10 pixels a metre, north up)\n"
                 "  --overlay: a host overlay file (pipe command 20) of P points, S segments, G polygons\n"
                 "  KIND: magic, version, huge-count, bad-index, unterminated-string, cut:K\n");
    return 2;
}

bool ParseCount(const char* text, int& value)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < 0 || v > 100000000) return false;
    value = int(v);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    hostfile::ExampleCounts counts;
    std::string broken;
    std::string out;
    int polygons = -1;
    enum class Site { None, Data, Model, Picture } site = Site::None;
    double spacing = 0.25;
    int overlay[3] = {-1, -1, -1};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--points" && hasValue) {
            if (!ParseCount(argv[++i], counts.points)) return Usage();
        } else if (arg == "--tin" && hasValue) {
            if (!ParseCount(argv[++i], counts.tin)) return Usage();
        } else if (arg == "--cad" && hasValue) {
            if (!ParseCount(argv[++i], counts.cad)) return Usage();
        } else if (arg == "--part" && hasValue) {
            if (!ParseCount(argv[++i], counts.part)) return Usage();
        } else if (arg == "--polygons" && hasValue) {
            if (!ParseCount(argv[++i], polygons)) return Usage();
        } else if (arg == "--overlay" && hasValue) {
            const std::string counts = argv[++i];
            const auto c1 = counts.find(','), c2 = counts.find(',', c1 == std::string::npos ? c1 : c1 + 1);
            if (c1 == std::string::npos || c2 == std::string::npos || !ParseCount(counts.substr(0, c1).c_str(), overlay[0]) ||
                !ParseCount(counts.substr(c1 + 1, c2 - c1 - 1).c_str(), overlay[1]) ||
                !ParseCount(counts.substr(c2 + 1).c_str(), overlay[2]))
                return Usage();
        } else if (arg == "--site") {
            site = Site::Data;
        } else if (arg == "--site-model") {
            site = Site::Model;
        } else if (arg == "--site-picture") {
            site = Site::Picture;
        } else if (arg == "--spacing" && hasValue) {
            char* end = nullptr;
            spacing = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(spacing >= 0.1 && spacing <= 10.0)) return Usage();
        } else if (arg == "--name" && hasValue) {
            counts.name = argv[++i];
        } else if (arg == "--broken" && hasValue) {
            broken = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && out.empty()) {
            out = arg;
        } else {
            return Usage();
        }
    }
    if (out.empty()) return Usage();

    std::vector<std::uint8_t> bytes;
    if (site == Site::Model || site == Site::Picture) {
        const std::string text = site == Site::Model ? hostfile::SiteModelText() : hostfile::SitePicture(10);
        bytes.assign(text.begin(), text.end());
    } else if (site == Site::Data) {
        if (!hostfile::WriteHostFile(hostfile::MakeSiteExample(spacing), bytes)) return 1;
    } else if (overlay[0] >= 0) {
        bytes = hostfile::WriteOverlayFile(hostfile::MakeOverlayExample(overlay[0], overlay[1], overlay[2]));
        if (!broken.empty()) {
            // cut:K keeps the first K bytes of the overlay file.
            if (broken.rfind("cut:", 0) != 0) {
                std::fprintf(stderr, "make-hostfile: an overlay file can only be cut (cut:K)\n");
                return 2;
            }
            int keep = 0;
            if (!ParseCount(broken.substr(4).c_str(), keep)) return Usage();
            if (static_cast<std::size_t>(keep) < bytes.size()) bytes.resize(static_cast<std::size_t>(keep));
        }
    } else if (polygons >= 0) {
        hostfile::PolygonFileLayout layout;
        for (int i = 0; i < polygons; ++i) {
            const double x = hostfile::kExampleX0 + 10 * i, y = hostfile::kExampleY0 + 10 * i;
            layout.polygons.push_back({{x, y, 0}, {x + 5, y, 0}, {x + 5, y + 5, 0}, {x, y + 5, 0}});
        }
        bytes = hostfile::WritePolygonFile(layout);
    } else if (!broken.empty()) {
        if (!hostfile::MakeBroken(broken, counts, bytes)) {
            std::fprintf(stderr, "make-hostfile: unknown damage '%s'\n", broken.c_str());
            return 2;
        }
    } else if (!hostfile::WriteHostFile(hostfile::MakeExample(counts), bytes)) {
        std::fprintf(stderr, "make-hostfile: the group name cannot be written in CP932\n");
        return 1;
    }
    if (!hostfile::SaveBytes(out, bytes)) {
        std::fprintf(stderr, "make-hostfile: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s: %zu bytes\n", out.c_str(), bytes.size());
    return 0;
}
