#pragma once

// The readings of the distance and coordinate tools, worked out from picked
// points: the values, the status texts, the three lines of a distance and where
// a hint may stand. No window and no GL.

#include "outside/MTRX.h"
#include "outside/PT.h"

#include <QPoint>

#include <optional>
#include <string>

//! Plane distance, height difference and slope distance, in the order the view keeps them.
struct DistanceValues {
    double plane = 0.0;
    double height = 0.0;
    double slope = 0.0;
};

//! The drawn lines of a distance: the lower end, the higher end (the second of two
//! at equal height) and the corner under the higher end at the lower end's height.
struct DistanceLines {
    PT low;
    PT high;
    PT corner;
};

class Measurement {
public:
    //! userMatrix: the view's survey-to-user matrix; readings are given back through
    //! its inverse (a singular matrix inverts to the identity).
    explicit Measurement(const MTRX& userMatrix);

    //! The readings between two points in user coordinates; nullopt when a point or
    //! a value is not finite, so nothing undefined is ever shown.
    std::optional<DistanceValues> Distance(const PT& userA, const PT& userB) const;
    //! A point in user coordinates with x and y taken back through the inverse
    //! matrix; nullopt when the result is not finite.
    std::optional<PT> Coordinates(const PT& user) const;

    //! "平面距離：%lf 斜距離：%lf 高低差：%lf" in the C locale.
    static std::string DistanceStatusText(const DistanceValues& values);
    //! "X：%lf  Y：%lf  Z：%lf" in the C locale.
    static std::string CoordinateStatusText(const PT& point);
    //! The lines between two points, whichever order they were picked in.
    static DistanceLines Lines(const PT& a, const PT& b);
    //! The client point (y down) of a window point (y up) when it lies within
    //! 1..width and 1..height; nullopt outside or for a value that is not finite.
    static std::optional<QPoint> HintAnchor(double windowX, double windowY, int clientWidth, int clientHeight);

private:
    MTRX m_toSurvey;
};

//! The prompts of the tools, one definition each.
namespace measuretexts {
inline constexpr const char* kFirstPoint = "計測する点群の1点目を指示して下さい。";
inline constexpr const char* kSecondPoint = "計測する点群の2点目を指示して下さい。";
inline constexpr const char* kCoordinatePoint = "座標を確認する点群を指示して下さい。";
} // namespace measuretexts
