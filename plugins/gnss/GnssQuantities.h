#pragma once

#include "plugins/gnss/NeuMaxima.h"

#include <vector>

namespace mod04827 {

// Limits of the survey's grade, as the condition tables give them (cm or mm).
struct GnssLimits {
    // control-point survey
    int newPointHorizontalCm = 0;
    int newPointHeightCm = 0;
    int ringHorizontal = 0;      // mm√N
    int ringHeight = 0;
    int duplicateHorizontal = 0; // mm
    int duplicateHeight = 0;
    int traverseA = 0;           // horizontal a mm + b mm√N
    int traverseB = 0;
    int traverseC = 0;           // height c mm + d mm√N
    int traverseD = 0;
    // levelling and elevation surveys
    int halfHorizontal = 0;      // a: first/second-half difference, mm
    int halfHeight = 0;          // b
    int knownClosure = 0;        // c: ellipsoid-height closure between known points
    int slopeResidual = 0;       // d
    int assumedClosure = 0;      // e (levelling)
    int assumedResidual = 0;     // f (levelling)
};

// Standard deviations of one new point of the network (metres, rounded to 5 decimals).
struct NewPointDeviation {
    int kind = 0;                // network point kind: 2 height only, 3 horizontal only
    double horizontal = 0.0;
    double height = 0.0;
};

// Difference of a first-half and a second-half baseline, local N, E, U (metres).
struct HalfDifference {
    bool valid = false;
    bool used = false;
    double dN = 0.0;
    double dE = 0.0;
    double dU = 0.0;
};

// An optional signed value.
struct PresentValue {
    bool present = false;
    double value = 0.0;
};

// Everything the collectors gathered for one evaluation.
struct GnssQuantities {
    NeuMaxima ring;
    NeuMaxima duplicate;
    NeuMaxima traverse;
    bool traversesApply = false;
    std::vector<NewPointDeviation> newPoints;
    std::vector<HalfDifference> halves;
    std::vector<double> knownClosures;     // ellipsoid-height closures of passing routes
    std::vector<double> assumedClosures;   // assumed 3D network closures (levelling)
    PresentValue assumedResidual;          // assumed 3D network baseline residual
    PresentValue slopeResidual;            // slope-distance residual of the mode-0 network
};

}  // namespace mod04827
