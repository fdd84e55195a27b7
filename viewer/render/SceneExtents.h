#pragma once

#include <string>

class CModelDataMng;
class CVertexMng;
class PT;

// Bounding boxes and ranges of what is shown, for height colouring, legends
// and the scale caption. Boxes are in user coordinates.
class SceneExtents {
public:
    //! Kind bits of GetVisibleExtent.
    enum Kind {
        kCloudGroups = 0x01,
        kGroupTins = 0x02,
        kViewCloud = 0x08,
        kCadTin = 0x20,
        kStructures = 0x40,
        kAllTinKinds = 0x6A,
    };

    //! The display toggles that decide whether a kind is shown at all.
    struct Toggles {
        int pointColourMode = 0;
        int tinPictureMode = 0;
        int tinEdgeSwitch = 0;
        int tinVertexSwitch = 0;
        bool AnyTin() const { return tinPictureMode != 0 || tinEdgeSwitch != 0 || tinVertexSwitch != 0; }
    };

    //! 1 and the merged box of the shown content of the chosen kinds, else 0
    //! with min and max untouched. An unset elevation never widens the z range.
    static int GetVisibleExtent(const CModelDataMng& store, const Toggles& toggles, int kinds, int allFlag, PT& min,
                                PT& max);
    //! 1 and the box of everything the scene holds, shown or not: the groups'
    //! points, every CAD figure point, the part drawing's lines, the groups' TINs
    //! and the view-cloud TIN; else 0 with min and max untouched. A z of no
    //! elevation counts as unset; an unset z never widens the range.
    static int GetModelExtent(const CModelDataMng& store, PT& min, PT& max);
    //! 1 and the intensity range of the shown point clouds, else 0.
    static int GetVisibleIntensityRange(const CModelDataMng& store, double& min, double& max);
    //! A caption length: two decimals and "m", always with a decimal point.
    static std::string CaptionText(double metres);

private:
    class Merger;
};
