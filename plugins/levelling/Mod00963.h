#pragma once

#include "plugins/common/PartProgram.h"

namespace mod00963 {

// The part program of the levelling quality table: the common stage runner with this
// plug-in's context and form, and the control-point table's figure stage.
class Mod00963 : public plugcommon::PartProgram {
public:
    explicit Mod00963(CVPartDocument* document);
    ~Mod00963() override;

protected:
    std::unique_ptr<plugcommon::CalcContext> MakeCal(const PartData& data, short noCalc) override;
    void FillForm(SvyForm& form, plugcommon::CalcContext& cal) override;
    int _CalcMakeFig(plugcommon::CalcContext* cal, int formMode) override;
};

} // namespace mod00963
