#pragma once

#include <QString>
#include <QStringList>

#include <string>

// The texts of the measurement hints, as plain functions.

//! printf's "%.<decimals>f" of v in the C locale, whatever LC_NUMERIC says.
std::string CFixedText(double v, int decimals);

//! Distance hint: "%.6lf" of the value followed by "m".
QString HintValueText(double value);

//! Coordinate hint lines "X: ", "Y: " and, when z is set, "Z: ", each "%.4lf"
//! padded on the left with spaces to the longest of them.
QStringList HintCoordinateLines(double x, double y, double z);

//! Cross-section hint of kind 5 or 6 (height difference, blank for the unset
//! value) or 7 (distance), followed by "m"; empty for any other kind.
QString HintSectionText(double value, int kind);
