#include "plugins/gnss/Mod04827.h"

#include "plugins/gnss/Cal.h"
#include "plugins/gnss/GnssForm.h"
#include "plugins/gnss/GnssPluginTable.h"

namespace mod04827 {

Mod04827::Mod04827(CVPartDocument* document) : plugcommon::PartProgram(document, GnssPluginTable()) {}

Mod04827::~Mod04827() = default;

std::unique_ptr<plugcommon::CalcContext> Mod04827::MakeCal(const PartData& data, short noCalc)
{
    return std::make_unique<Cal>(data, noCalc);
}

void Mod04827::FillForm(SvyForm& form, plugcommon::CalcContext& cal)
{
    FillGnssForm(form, static_cast<Cal&>(cal));
}

}  // namespace mod04827
