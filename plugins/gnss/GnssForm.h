#pragma once

class SvyForm;

namespace mod04827 {

class Cal;

// Fills one open report document from the context.
void FillGnssForm(SvyForm& form, const Cal& cal);

}  // namespace mod04827
