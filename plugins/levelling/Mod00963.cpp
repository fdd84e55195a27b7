#include "plugins/levelling/Mod00963.h"

#include "hostfw/Tab00963Data.h"
#include "plugins/common/FigureStage.h"
#include "plugins/levelling/Cal.h"
#include "plugins/levelling/LevellingForm.h"
#include "plugins/levelling/Mod00963Table.h"

namespace mod00963 {

Mod00963::Mod00963(CVPartDocument* document) : PartProgram(document, LevellingPluginTable()) {}

Mod00963::~Mod00963() = default;

std::unique_ptr<plugcommon::CalcContext> Mod00963::MakeCal(const PartData& data, short noCalc)
{
    return std::make_unique<Cal>(data, noCalc);
}

void Mod00963::FillForm(SvyForm& form, plugcommon::CalcContext& cal)
{
    WriteLevellingForm(form, static_cast<const Cal&>(cal));
}

int Mod00963::_CalcMakeFig(plugcommon::CalcContext* cal, int formMode)
{
    return plugcommon::FigureStage::RunFor<Cal>(cal, formMode);
}

} // namespace mod00963
