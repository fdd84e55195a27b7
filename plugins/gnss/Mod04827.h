#pragma once

#include "plugins/common/PartProgram.h"

namespace mod04827 {

// The GNSS quality table's part program: the common stage runner with the GNSS
// context and form.
class Mod04827 : public plugcommon::PartProgram {
public:
    explicit Mod04827(CVPartDocument* document);
    ~Mod04827() override;

protected:
    std::unique_ptr<plugcommon::CalcContext> MakeCal(const PartData& data, short noCalc) override;
    void FillForm(SvyForm& form, plugcommon::CalcContext& cal) override;
};

}  // namespace mod04827
