#pragma once

#include "outside/CModelDataMng.h"
#include "outside/PT.h"

// User to model coordinates as an affine map, read once from the store so the
// per-point work of a build is three multiply-adds per axis (or one add when
// the map only moves points).
struct ModelAffine {
    double m[3][4] = {};

    static ModelAffine Of(const CModelDataMng& store)
    {
        ModelAffine a;
        PT o(0, 0, 0);
        store.UserToModel(o);
        const double origin[3] = {o.x(), o.y(), o.z()};
        for (int axis = 0; axis < 3; ++axis) {
            PT u(axis == 0 ? 1 : 0, axis == 1 ? 1 : 0, axis == 2 ? 1 : 0);
            store.UserToModel(u);
            const double image[3] = {u.x(), u.y(), u.z()};
            for (int r = 0; r < 3; ++r) a.m[r][axis] = image[r] - origin[r];
        }
        for (int r = 0; r < 3; ++r) a.m[r][3] = origin[r];
        return a;
    }
    //! True when the map only moves points: each axis then maps on its own.
    bool IsTranslation() const
    {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                if (m[r][c] != (r == c ? 1.0 : 0.0)) return false;
        return true;
    }
};
