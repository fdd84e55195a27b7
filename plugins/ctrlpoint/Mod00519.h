#pragma once

#include "plugins/common/PartProgram.h"

namespace mod00519 {

// The part program of the control-point quality table: the common stage runner with
// this plug-in's context, form and figure stage.
class Mod00519 : public plugcommon::PartProgram {
public:
    explicit Mod00519(CVPartDocument* document);
    ~Mod00519() override;

protected:
    std::unique_ptr<plugcommon::CalcContext> MakeCal(const PartData& data, short noCalc) override;
    void FillForm(SvyForm& form, plugcommon::CalcContext& cal) override;
    int _CalcMakeFig(plugcommon::CalcContext* cal, int formMode) override;
};

} // namespace mod00519
