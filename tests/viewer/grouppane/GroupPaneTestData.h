#pragma once

#include "outside/CModelDataMng.h"

#include <memory>
#include <string>

namespace grouppanetest {

inline void AddPoints(CPCloudMng& c, int points)
{
    for (int i = 0; i < points; ++i)
        c.AddCloudPoint(static_cast<float>(i), static_cast<float>(i % 7), static_cast<float>(i), 0x102030u + i, i * 0.5);
}

inline void AddTriangles(CVertexMng& tin, int triangles)
{
    tin.m_triangles.resize(static_cast<std::size_t>(triangles));
}

inline CPCloudMng& AddGroup(CModelDataMng& store, const std::string& name, int points, int triangles = 0, int number = 0)
{
    auto g = std::make_unique<CPCloudMng>();
    g->m_name = name;
    g->m_nNameNumber = number;
    AddPoints(*g, points);
    AddTriangles(*g, triangles);
    CPCloudMng& ref = *g;
    store.AddGroup(std::move(g));
    return ref;
}

inline void AddFigures(CModelDataMng& store, std::uint8_t kind, int count)
{
    for (int i = 0; i < count; ++i) {
        CElmData e;
        e.m_nKind = kind;
        store.m_elmList.push_back(e);
    }
    store.RebuildCadLayers();
}

// One of everything: group "Site" (3 points, 2 triangles), CAD figures of types 12
// (two) and 15, a CAD TIN, a part point and line, a building and a chimney
// triangle, and a view cloud of 2 points and a triangle.
inline CPCloudMng& FillScene(CModelDataMng& store)
{
    CPCloudMng& g = AddGroup(store, "Site", 3, 2);
    AddFigures(store, 12, 2);
    AddFigures(store, 15, 1);
    AddTriangles(store.m_cadTin, 1);
    AddPoints(store.m_partPoint3D, 1);
    store.m_partLine3D.resize(1);
    AddTriangles(store.m_structure[0], 1);
    AddTriangles(store.m_structure[11], 1);
    AddPoints(store.m_viewCloud, 2);
    AddTriangles(store.m_viewCloud, 1);
    return g;
}

} // namespace grouppanetest
