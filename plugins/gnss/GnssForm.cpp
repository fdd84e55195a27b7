#include "plugins/gnss/GnssForm.h"

#include "plugins/gnss/Cal.h"
#include "plugins/gnss/GnssFormFields.h"
#include "plugins/gnss/GnssTableAccess.h"

#include "hostfw/SvyForm.h"
#include "hostfw/Tab04827Data.h"

namespace mod04827 {

void FillGnssForm(SvyForm& form, const Cal& cal)
{
    GnssTableSet set;
    ReadTableSet(cal.Data(), VariantOfKind(ReadSurveyKind(cal.Data())), set);
    for (const auto& [field, text] : GnssFormFields(set, cal.Texts())) form.PutField(field, text, 0);
}

}  // namespace mod04827
