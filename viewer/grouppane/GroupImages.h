#pragma once

// The group pane's pictures, drawn here rather than loaded: the tree's image strips
// (a low-colour strip of the sixteen standard colours and a high-colour one) and the
// toolbar's button strips. Each strip holds its images side by side, in the order
// of their indices, on the mask colour, which reads as transparent.

#include <QColor>
#include <QIcon>
#include <QImage>

#include <vector>

namespace grouppane {

inline constexpr unsigned kToolBarImages = 35002;
inline constexpr unsigned kToolBarImagesHighColour = 35003;
inline constexpr unsigned kTreeImages = 35004;
inline constexpr unsigned kTreeImagesHighColour = 35005;

inline constexpr int kTreeImageWidth = 16;
inline constexpr int kTreeImageHeight = 16;
inline constexpr int kTreeImageCount = 7;
inline constexpr int kToolImageWidth = 16;
inline constexpr int kToolImageHeight = 15;
inline constexpr int kToolImageCount = 2;  // show all, hide all
inline constexpr QRgb kMaskColour = 0xFFFF0000u;

// The sixteen standard colours the low-colour strips are drawn with.
const std::vector<QRgb>& StandardColours();

// The strip of a bitmap id as drawn (mask colour where nothing is drawn); a null
// image for any other id.
QImage DrawImageStrip(unsigned bitmap);
// The strip cut into images, the mask colour made transparent.
std::vector<QIcon> ImageList(unsigned bitmap);
// The tree's strip for a screen of this many bits a pixel (high colour above 8).
unsigned TreeImageBitmap(int screenDepth);
unsigned ToolBarImageBitmap(int screenDepth);
// A group's image with its colour swatch painted over it (the swatch spans the
// image's width less two pixels and its height less two pixels top and bottom).
QIcon GroupImageWithSwatch(const QIcon& groupImage, QColor colour);

} // namespace grouppane
