#include "plugins/ctrlpoint/CVSheetPartListX2.h"

namespace mod00519 {

CVSheetPartListX2::CVSheetPartListX2(QWidget* parent) : ControlPointPartList(PartListKind::CheckCalc, parent) {}

} // namespace mod00519
