#pragma once

#include "outside/MTRX.h"

#include <cstdint>
#include <string>

class CModelDataMng;

// The two plain-text point exports: the survey point-record file (.sim) and the
// comma point list (.xyz), with x and y in the host's survey coordinates (toSurvey,
// the inverse of the survey transform) and z as stored. Lines end in CR LF and
// numbers are written the same in every locale. Each file is written beside its
// target and renamed into place when complete, so a failed export leaves the
// previous file of that name as it was.

//! Split settings of the comma export (and the LAS export): mode 1 by size in MB,
//! 2 by units of 10,000 points, anything else none; a limit of 0 or less is none.
struct PointTextLimits {
    std::int32_t mode = 0;
    std::int32_t sizeMb = 0;
    std::int32_t pointUnits = 0;
};

//! Appends value as printf's "%*.4f" in the C locale would write it, right-aligned
//! in width.
void AppendFixed4(std::string& line, double value, int width);

//! The numbered name of a split output: "folder/base(n).ext". The extension starts
//! at the last dot of the file name; without one the number goes before the name
//! ("folder/(n)name").
std::string MakeNumberedFileName(const std::string& path, std::int64_t number);

//! Every group, shown or not, numbered from 1 in each group. 1 when written; 0 when
//! the store holds no points or the file cannot be written whole.
int WriteSurveyPointText(const CModelDataMng& store, const MTRX& toSurvey, const std::string& path);

//! The points of the shown groups as "x,y,z,r,g,b" lines: x, y and z multiplied by
//! scale; axisXY 0 swaps the two plan coordinates. With a limit every file is
//! numbered ((1), (2), ...). 1 when every file was completed; 0 when there are no
//! shown points or a file failed (that file is not left behind; the files completed
//! before it stay).
int WriteCommaPointText(const CModelDataMng& store, const MTRX& toSurvey, const std::string& path, double scale,
                        std::uint8_t axisXY, const PointTextLimits& limits);
