#include "plugins/ctrlpoint/CVSheetPartListKan.h"

namespace mod00519 {

CVSheetPartListKan::CVSheetPartListKan(PartListKind kind, QWidget* parent) : ControlPointPartList(kind, parent) {}

} // namespace mod00519
