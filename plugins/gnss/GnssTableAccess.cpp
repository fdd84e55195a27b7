#include "plugins/gnss/GnssTableAccess.h"

#include "hostfw/Tab04827Data.h"

namespace mod04827 {

namespace {

constexpr GnssRecord kRecords[] = {GnssRecord::F1,  GnssRecord::F01, GnssRecord::F02,
                                   GnssRecord::F03, GnssRecord::F04, GnssRecord::F05};

const char* Suffix(SurveyVariant variant)
{
    switch (variant) {
    case SurveyVariant::Levelling: return "S";
    case SurveyVariant::Elevation3: return "H3";
    case SurveyVariant::Elevation4: return "H4";
    case SurveyVariant::Control: break;
    }
    return "";
}

const char* BaseName(GnssRecord record)
{
    switch (record) {
    case GnssRecord::F1: return "F1";
    case GnssRecord::F01: return "F01";
    case GnssRecord::F02: return "F02";
    case GnssRecord::F03: return "F03";
    case GnssRecord::F04: return "F04";
    case GnssRecord::F05: return "F05";
    }
    return "";
}

}  // namespace

std::string RecordName(GnssRecord record, SurveyVariant variant)
{
    return std::string(BaseName(record)) + Suffix(variant);
}

bool ReadTableSet(const Tab04827Data& data, SurveyVariant variant, GnssTableSet& out)
{
    out.Clear();
    const auto& keys = GnssTableKeys();
    bool all = true;
    for (GnssRecord record : kRecords) {
        PartRecord r;
        if (!data.GetRec(RecordName(record, variant).c_str(), r)) {
            all = false;
            continue;
        }
        const std::size_t first = FirstFieldOf(record);
        const std::size_t count = FieldCountOf(record);
        for (std::size_t i = 0; i < count; ++i) {
            if (keys[first + i].isShort)
                out.shorts[first + i] = r.Short(i);
            else
                out.texts[first + i] = r.Text(i);
        }
    }
    return all;
}

bool WriteTableSet(Tab04827Data& data, SurveyVariant variant, const GnssTableSet& set)
{
    const auto& keys = GnssTableKeys();
    bool ok = true;
    for (GnssRecord record : kRecords) {
        PartRecord r;
        const std::size_t first = FirstFieldOf(record);
        const std::size_t count = FieldCountOf(record);
        for (std::size_t i = 0; i < count; ++i) {
            if (keys[first + i].isShort)
                r.SetShort(i, set.shorts[first + i]);
            else
                r.SetText(i, set.texts[first + i]);
        }
        ok = data.PutRec(RecordName(record, variant).c_str(), r) != 0 && ok;
    }
    return ok;
}

std::optional<std::array<short, 5>> ReadSwitches(const Tab04827Data& data, SurveyVariant variant)
{
    PartRecord r;
    if (!data.GetRec(RecordName(GnssRecord::F03, variant).c_str(), r)) return std::nullopt;
    std::array<short, 5> switches{};
    const std::size_t first = FirstFieldOf(GnssRecord::F03);
    for (int n = 1; n <= 5; ++n) {
        switches[static_cast<std::size_t>(n - 1)] =
            r.Short(static_cast<std::size_t>(SwitchFieldIndex(n)) - first);
    }
    return switches;
}

int ReadSurveyKind(const Tab04827Data& data)
{
    PartRecord r;
    if (!data.GetRec("F3", r)) return 0;
    return r.Short(0);
}

bool WriteSurveyKind(Tab04827Data& data, int kind)
{
    PartRecord r;
    data.GetRec("F3", r);
    r.SetShort(0, static_cast<short>(kind));
    return data.PutRec("F3", r) != 0;
}

long ReadWorkNo(const Tab04827Data& data)
{
    PartRecord r;
    if (!data.GetRec("F2", r)) return 0;
    return static_cast<long>(r.Long(0));
}

bool WriteWorkNo(Tab04827Data& data, long workNo)
{
    PartRecord r;
    data.GetRec("F2", r);
    r.SetLong(0, workNo);
    return data.PutRec("F2", r) != 0;
}

short ReadReloadFlags(const Tab04827Data& data)
{
    PartRecord r;
    if (!data.GetRec("F7", r)) return 0;
    return r.Short(0);
}

bool WriteReloadFlags(Tab04827Data& data, short flags)
{
    PartRecord r;
    data.GetRec("F7", r);
    r.SetShort(0, flags);
    return data.PutRec("F7", r) != 0;
}

}  // namespace mod04827
