#pragma once

#include "outside/CModelDataMng.h"
#include "outside/CPCloudMng.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// Shared pieces of the export tests: a scratch folder per test and small stores.
namespace exporttest {

struct TestPoint {
    float x, y, z;
    COLORREF colour = 0;
    double intensity = 0;
};

inline std::unique_ptr<CPCloudMng> MakeGroup(const std::vector<TestPoint>& points, bool shown = true)
{
    auto g = std::make_unique<CPCloudMng>();
    for (const TestPoint& p : points) g->AddCloudPoint(p.x, p.y, p.z, p.colour, p.intensity);
    g->m_nShowGroup = shown ? 1 : 0;
    g->m_nShowPCloud = 1;
    return g;
}

// n points on a line, 0.5 m apart, each with its own colour.
inline std::unique_ptr<CPCloudMng> MakeLineGroup(int n, bool shown = true)
{
    auto g = std::make_unique<CPCloudMng>();
    g->ReserveCloudPoint(std::size_t(n));
    for (int i = 0; i < n; ++i)
        g->AddCloudPoint(float(i) * 0.5f, float(i % 100), 10.0f + float(i % 7), COLORREF(i & 0xFFFFFF), 1.0);
    g->m_nShowGroup = shown ? 1 : 0;
    g->m_nShowPCloud = 1;
    return g;
}

// Adds a TIN: vertices (x0 + i, 2i, 3i) and the triangles given.
inline void AddTin(CVertexMng& tin, int vertices, std::vector<CIndexedTriangle> triangles, float x0 = 0)
{
    for (int i = 0; i < vertices; ++i) tin.AddVertex(x0 + float(i), float(2 * i), float(3 * i));
    tin.m_triangles = std::move(triangles);
}

inline std::string ReadAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::size_t CountLines(const std::string& text)
{
    std::size_t n = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
    return n;
}

// Names in the folder, sorted (temporary siblings included, so tests see leftovers).
inline std::vector<std::string> Names(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        m_dir = std::filesystem::temp_directory_path() / ("tessara-export-" + name);
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
};

}  // namespace exporttest
