#include "plugins/ctrlpoint/CVSheetPartListX.h"

namespace mod00519 {

CVSheetPartListX::CVSheetPartListX(QWidget* parent) : ControlPointPartList(PartListKind::Strict, parent) {}

} // namespace mod00519
