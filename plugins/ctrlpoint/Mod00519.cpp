#include "plugins/ctrlpoint/Mod00519.h"

#include "hostfw/Tab00519Data.h"
#include "plugins/common/FigureStage.h"
#include "plugins/ctrlpoint/Cal.h"
#include "plugins/ctrlpoint/ControlPointForm.h"
#include "plugins/ctrlpoint/Mod00519Table.h"

namespace mod00519 {

Mod00519::Mod00519(CVPartDocument* document) : PartProgram(document, ControlPointPluginTable()) {}

Mod00519::~Mod00519() = default;

std::unique_ptr<plugcommon::CalcContext> Mod00519::MakeCal(const PartData& data, short noCalc)
{
    return std::make_unique<Cal>(data, noCalc);
}

void Mod00519::FillForm(SvyForm& form, plugcommon::CalcContext& cal)
{
    const Cal& context = static_cast<const Cal&>(cal);
    ControlPointForm::Write(form, context.Data(), context.Texts());
}

int Mod00519::_CalcMakeFig(plugcommon::CalcContext* cal, int formMode)
{
    return plugcommon::FigureStage::RunFor<Cal>(cal, formMode);
}

} // namespace mod00519
