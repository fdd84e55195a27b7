#pragma once

#include "outside/LxData.h"
#include "outside/MTRX.h"

#include <functional>
#include <string>

class CModelDataMng;
class CVertexMng;
namespace tessara {
class IProfile;
}

// The LandXML export of the shown TINs: attributes from the profile (section
// "SectionGlView"), edited in the attribute dialog, stored back, then every shown
// TIN as one surface in survey coordinates.
namespace landxml {

//! The attribute dialog: edits the records in place; false when cancelled.
using AttributeDialog = std::function<bool(LxDATA_Project&, LxDATA_Application&, LxDATA_Coordinate&)>;

//! Fills the records from the profile, with the defaults for missing keys; every
//! text cut to what the records hold.
void LoadLandXmlAttributes(tessara::IProfile& profile, LxDATA_Project& project, LxDATA_Application& application,
                           LxDATA_Coordinate& coordinate);
void SaveLandXmlAttributes(tessara::IProfile& profile, const LxDATA_Project& project,
                           const LxDATA_Application& application, const LxDATA_Coordinate& coordinate);

//! Appends one surface when the store has a vertex and a triangle.
void AppendTinSurface(const CVertexMng& tin, const MTRX& toSurvey, LxVertexLists& vertices,
                      LxTriangleLists& triangles);

//! The surfaces in export order: shown groups, the CAD TIN, the structures (the
//! building's six first stores joined into one), the view cloud.
void CollectSurfaces(const CModelDataMng& store, const MTRX& toSurvey, LxVertexLists& vertices,
                     LxTriangleLists& triangles);

//! -1 when the dialog was cancelled (profile unchanged), 0 when the path is empty
//! or the file cannot be written, 1 when written. Zone 1..19 sets the plane
//! coordinate texts; timeStamp replaces the stored one.
int ExportLandXmlFile(const CModelDataMng& store, const MTRX& toSurvey, const std::string& path, int zone,
                      tessara::IProfile& profile, const AttributeDialog& dialog, const std::string& timeStamp);

//! The current local time as "%Y-%m-%d %H:%M:%S".
std::string CurrentTimeStamp();

}  // namespace landxml
