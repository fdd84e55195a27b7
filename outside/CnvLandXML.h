#pragma once

#include "outside/LxData.h"

class QWidget;

//! Writes a LandXML 1.2 file (UTF-8) with the attributes and one TIN surface per
//! list entry; vertices are numbered from 1 in each surface. The file is written
//! beside the path and renamed over it when complete. Returns non-zero on success;
//! 0 (and no file) for lists of different lengths, a triangle naming a vertex the
//! surface does not have, a coordinate that is not finite, or a failed write.
int CnvLandXML_SAVE(const char* path, const LxDATA_Project& project, const LxDATA_Application& application,
                    const LxDATA_Coordinate& coordinate, const LxVertexLists& vertices,
                    const LxTriangleLists& triangles, QWidget* parent);
