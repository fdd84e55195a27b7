#pragma once

#include "HostFileLayout.h"

#include <string>

namespace hostfile {

// The example site a newcomer sees first: 70 m east-west by 46 m north-south,
// centred on the host's reference point so that it fills the viewer's starting
// camera. The same ground, figures and traverse are written twice:
//  - as host data (MakeSiteExample): a ground point cloud coloured as a colour
//    scan would see it (grass, bare soil, road, trees), the CAD figures and the
//    part drawing; no view-cloud TIN, so a host load leaves the TIN picture the
//    user chose;
//  - as make-model text (SiteModelText): the ground TIN from a 5 m grid of the
//    same ground, the two buildings as 3D structures and the same figures and
//    traverse, in the same survey frame, so the host data land on the model.

// Site offsets from the reference point: east (viewer x) and north (viewer y).
inline constexpr double kSiteHalfEast = 35.0;
inline constexpr double kSiteHalfNorth = 23.0;

//! Ground elevation at an offset (metres east, north) from the reference point.
double SiteGround(double east, double north);

//! Host data of the site; `spacing` is the ground cloud's point spacing in metres.
HostFileLayout MakeSiteExample(double spacing);

//! The site seen from above as a binary PPM picture, north up, covering the site
//! at `pixelsPerMetre`: the picture the model file puts on its TIN.
std::string SitePicture(int pixelsPerMetre);

//! The site as make-model text, in the user coordinates the host data land in
//! (east, north from the reference point, elevations as they are), with the
//! rendering centre the host data set.
std::string SiteModelText();

}  // namespace hostfile
