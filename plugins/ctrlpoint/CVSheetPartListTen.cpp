#include "plugins/ctrlpoint/CVSheetPartListTen.h"

namespace mod00519 {

CVSheetPartListTen::CVSheetPartListTen(QWidget* parent) : ControlPointPartList(PartListKind::CheckSurvey, parent) {}

} // namespace mod00519
