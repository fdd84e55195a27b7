#pragma once

#include "outside/CModelDataMng.h"
#include "platform/ScriptedMessageBoxes.h"

#include <memory>
#include <string>
#include <vector>

// Point clouds for the filter and deletion tests.
namespace editfixture {

// A dense 10 x 10 patch at 0.1 m with a few far stray points, at x0.
inline std::unique_ptr<CPCloudMng> Patch(float x0, const char* name)
{
    auto g = std::make_unique<CPCloudMng>();
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            g->AddCloudPoint(x0 + 0.1f * i, 0.1f * j, 0.05f * static_cast<float>((i + j) % 3), 0, 0.0);
    g->AddCloudPoint(x0 + 50.0f, 50.0f, 0.0f, 0, 0.0);
    g->AddCloudPoint(x0 - 40.0f, 60.0f, 5.0f, 0, 0.0);
    g->AddCloudPoint(x0 + 30.0f, -70.0f, 9.0f, 0, 0.0);
    g->m_name = name;
    g->m_memo = "memo";
    g->m_nColor = 0x123456;
    g->CreateGrid();
    return g;
}

// Two shown groups and a hidden one between them.
inline void Fill(CModelDataMng& store)
{
    store.AddGroup(Patch(0.0f, "a"));
    auto hidden = Patch(100.0f, "hidden");
    hidden->m_nShowPCloud = 0;
    store.AddGroup(std::move(hidden));
    store.AddGroup(Patch(200.0f, "c"));
}

inline std::vector<int> Counts(const CModelDataMng& store)
{
    std::vector<int> n;
    for (int i = 0; i < store.GetGroupCount(); ++i)
        n.push_back(store.GetGroup(i)->GetCloudPointSize());
    return n;
}

// The texts of the boxes shown so far.
inline std::vector<std::string> BoxTexts(const tessara::ScriptedMessageBoxes& boxes)
{
    std::vector<std::string> texts;
    for (const auto& b : boxes.ShownBoxes())
        texts.push_back(b.text);
    return texts;
}

} // namespace editfixture
