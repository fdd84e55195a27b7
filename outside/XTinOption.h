#pragma once

#include <cstdint>

// Options of the TIN generator as the view settings keep and the dialogs edit them.
class XTinOption {
public:
    XTinOption() = default;
    bool operator==(const XTinOption&) const = default;

    // Polyline thinning level of break lines (one of CCalcTIN's reduction levels).
    std::int32_t m_nPolyRdcsplMode = 1;
    // Non-zero: CAD figure segments with elevations constrain the TIN.
    std::int32_t m_nConsiderBreakLineSw = 0;
    // Non-zero: triangles with a plan edge longer than m_dExcessiveTriangleLength
    // are dropped.
    std::int32_t m_nRemoveExcessiveTriangleSw = 0;
    double m_dExcessiveTriangleLength = 100.0;
};
