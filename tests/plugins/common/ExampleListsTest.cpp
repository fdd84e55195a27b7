// The example seeds that open a table dialog carry the drop-down lists the plug-in ships:
// every list of the plug-in's sample files has entries in each such seed, so no
// drop-down of the walk-through is empty.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "platform/Cp932.h"

namespace {

std::filesystem::path SourceDir()
{
    const char* dir = std::getenv("TESSARA_SOURCE_DIR");
    return dir != nullptr ? std::filesystem::path(dir) : std::filesystem::current_path();
}

// Count key ("適用範囲_max") → its count, of a list file's lines.
std::map<std::string, int> Counts(const std::vector<std::string>& lines)
{
    std::map<std::string, int> counts;
    for (std::string line : lines) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && eq >= 4 && line.compare(eq - 4, 4, "_max") == 0)
            counts[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
    }
    return counts;
}

std::vector<std::string> ShippedLines(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const std::optional<std::string> text = tessara::FromCp932(tessara::Cp932Bytes::FromBytes(bytes));
    std::vector<std::string> lines;
    if (!text)
        return lines;
    std::size_t start = 0;
    for (std::size_t nl = text->find('\n'); nl != std::string::npos; start = nl + 1, nl = text->find('\n', start))
        lines.push_back(text->substr(start, nl - start));
    lines.push_back(text->substr(start));
    return lines;
}

struct PluginLists {
    const char* plugin;
    std::vector<const char*> files;
};

class ExampleListsTest : public ::testing::TestWithParam<PluginLists> {};

TEST_P(ExampleListsTest, EverySeedThatEditsCarriesEveryShippedList)
{
    const std::filesystem::path examples = SourceDir() / "examples" / GetParam().plugin;
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        if (entry.path().extension() != ".json")
            continue;
        QFile file(QString::fromStdString(entry.path().string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QJsonObject seed = QJsonDocument::fromJson(file.readAll()).object();
        if (!seed.contains("edit") || !seed.contains("parts"))
            continue;
        ++seeds;
        for (const char* name : GetParam().files) {
            const std::map<std::string, int> shipped =
                Counts(ShippedLines(SourceDir() / "plugins" / GetParam().plugin / "data" / name));
            ASSERT_FALSE(shipped.empty()) << name;
            std::vector<std::string> lines;
            for (const QJsonValue f : seed.value("files").toArray()) {
                if (f.toObject().value("name").toString() == QString::fromUtf8(name)) {
                    for (const QJsonValue line : f.toObject().value("lines").toArray())
                        lines.push_back(line.toString().toStdString());
                }
            }
            const std::map<std::string, int> carried = Counts(lines);
            for (const auto& [key, count] : shipped) {
                if (count <= 0)
                    continue;
                const auto it = carried.find(key);
                EXPECT_TRUE(it != carried.end() && it->second > 0)
                    << entry.path().filename() << " " << name << ": " << key;
            }
        }
    }
    EXPECT_GT(seeds, 0);
}

INSTANTIATE_TEST_SUITE_P(Plugins, ExampleListsTest, ::testing::Values(
    PluginLists{"gnss", {"GpsHyoCmbKjn.ini", "GpsHyoCmbHyo.ini", "GpsHyoCmbSui.ini"}},
    PluginLists{"ctrlpoint", {"KjnHyoCmb.ini"}},
    PluginLists{"levelling", {"SuiHyoCmb.ini"}}));

} // namespace
