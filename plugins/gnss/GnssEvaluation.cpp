#include "plugins/gnss/GnssEvaluation.h"

#include "plugins/gnss/GnssConditionLoader.h"
#include "plugins/gnss/GnssResultMessages.h"
#include "plugins/gnss/GnssTableAccess.h"
#include "plugins/gnss/GnssTextBuilder.h"

#include "hostfw/CVApp.h"

namespace mod04827 {

GnssEvaluation::GnssEvaluation(const Tab04827Data& data, PartSystem* handle)
{
    GnssConditionLoader loader(data, handle ? handle : GetCurrentPartSystem());
    m_code = loader.Load();
    m_workKindName = loader.WorkKindName();
    m_surveyKindName = loader.SurveyKindName();
    if (m_code != kResultOk) return;
    const int kind = loader.SurveyKind();
    const auto switches = ReadSwitches(data, VariantOfKind(kind)).value_or(std::array<short, 5>{});
    m_texts = GnssTextBuilder(kind, switches, loader.Limits(), loader.Quantities()).Build();
}

}  // namespace mod04827
