#include "plugins/gnss/GnssTableSet.h"

namespace mod04827 {

namespace {
const std::string kEmpty;
}

void GnssTableSet::Clear()
{
    for (auto& t : texts) t.clear();
    shorts.fill(0);
}

const std::string& GnssTableSet::Text(GnssRecord record, int textItem) const
{
    const int i = TextFieldIndex(record, textItem);
    return i < 0 ? kEmpty : texts[static_cast<std::size_t>(i)];
}

void GnssTableSet::SetText(GnssRecord record, int textItem, std::string text)
{
    const int i = TextFieldIndex(record, textItem);
    if (i >= 0) texts[static_cast<std::size_t>(i)] = std::move(text);
}

short GnssTableSet::Switch(int switchNumber) const
{
    const int i = SwitchFieldIndex(switchNumber);
    return i < 0 ? 0 : shorts[static_cast<std::size_t>(i)];
}

void GnssTableSet::SetSwitch(int switchNumber, short value)
{
    const int i = SwitchFieldIndex(switchNumber);
    if (i >= 0) shorts[static_cast<std::size_t>(i)] = value;
}

short GnssTableSet::Zone() const
{
    return shorts[static_cast<std::size_t>(ZoneFieldIndex())];
}

void GnssTableSet::SetZone(short zone)
{
    shorts[static_cast<std::size_t>(ZoneFieldIndex())] = zone;
}

}  // namespace mod04827
