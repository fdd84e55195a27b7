#pragma once

// Command ids of the view directions, display switches, picture modes and overlays, and
// of the commands whose check marks the view's update-UI table sets.
namespace cmd {

inline constexpr unsigned kFileSetting = 32774;
inline constexpr unsigned kShowUp = 32776;
inline constexpr unsigned kShowLow = 32777;
inline constexpr unsigned kShowLeft = 32778;
inline constexpr unsigned kShowRight = 32779;
inline constexpr unsigned kShowFront = 32780;
inline constexpr unsigned kShowBack = 32781;
inline constexpr unsigned kSwitchCad = 32782;
inline constexpr unsigned kSwitchPart = 32783;
inline constexpr unsigned kSwitchTin = 32784;
inline constexpr unsigned kSwitchTinPoint = 32785;
inline constexpr unsigned kPictureColor = 32786;
inline constexpr unsigned kPictureHighLow = 32787;
inline constexpr unsigned kPictureIncline = 32788;
inline constexpr unsigned kPictureTexture = 32789;
inline constexpr unsigned kSupportPaper = 32793;
inline constexpr unsigned kSupportMesh = 32794;
inline constexpr unsigned kSupportAxis = 32795;
inline constexpr unsigned kModeDepth = 32796;
inline constexpr unsigned kUndo = 32800;
inline constexpr unsigned kCadSelect = 32801;
inline constexpr unsigned kCadEdit8 = 32802;
inline constexpr unsigned kPointHeight = 32804;
inline constexpr unsigned kPointRgb = 32805;
inline constexpr unsigned kPointMono = 32806;
inline constexpr unsigned kTinFaceDelete = 32817;
inline constexpr unsigned kTinVertexRemove = 32818;
inline constexpr unsigned kTinEdgeSwap = 32819;
inline constexpr unsigned kMakeTin = 32820;
inline constexpr unsigned kGroupView = 32831;
inline constexpr unsigned kSupportDirXyz = 32832;
inline constexpr unsigned kSupportDirNews = 32833;
inline constexpr unsigned kSupportSize = 32834;
inline constexpr unsigned kFileExport1 = 32836;
inline constexpr unsigned kFileExport2 = 32837;
inline constexpr unsigned kShowXyz = 32838;
inline constexpr unsigned kPointIntensity = 32839;
inline constexpr unsigned kPointGroup = 32840;
inline constexpr unsigned kColorSetting = 32841;
// Point selection: the view's edit mode 1, polygon clicks select points.
inline constexpr unsigned kPointSelect = 32842;
inline constexpr unsigned kCadEdit9 = 35208;
inline constexpr unsigned kSyncWindow = 35209;
inline constexpr unsigned kToolDistance = 35210;
inline constexpr unsigned kToolSection = 35211;

} // namespace cmd
