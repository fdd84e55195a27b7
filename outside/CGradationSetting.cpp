#include "outside/CGradationSetting.h"

#include "platform/IProfile.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view kSection = "SectionGradation";
constexpr int kMaxUserSettings = 256;
constexpr int kMaxStops = 256;

struct BuiltIn {
    const char* name;
    std::vector<ColorConf> stops;
};

// Stops are COLORREF (red in the low byte), levels descending.
const std::vector<BuiltIn>& BuiltIns()
{
    static const std::vector<BuiltIn> builtIns = {
        {"標準", {{255, 0x0000FF}, {191, 0x00FFFF}, {127, 0x00FF00}, {63, 0xFFFF00}, {0, 0xFF0000}}},
        {"地形", {{255, 0xFFFFFF}, {170, 0x2A5A8B}, {85, 0x80D0F0}, {0, 0x008000}}},
        {"グレー", {{255, 0xFFFFFF}, {0, 0x000000}}},
    };
    return builtIns;
}

std::string Key(const char* stem, int i)
{
    return std::string(stem) + std::to_string(i);
}

// "level:colour,level:colour" with decimal numbers.
std::string StopsToText(const std::vector<ColorConf>& stops)
{
    std::string text;
    for (const ColorConf& c : stops) {
        if (!text.empty())
            text += ',';
        text += std::to_string(c.level) + ':' + std::to_string(c.color);
    }
    return text;
}

bool TextToStops(std::string_view text, std::vector<ColorConf>& stops)
{
    stops.clear();
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t colon = item.find(':');
        if (colon == std::string_view::npos)
            return false;
        const auto level = tessara::ParseInt(item.substr(0, colon));
        const auto colour = tessara::ParseInt64(item.substr(colon + 1));
        if (!level || !colour || *level < 0 || *level > 255 || *colour < 0 || *colour > 0xFFFFFF)
            return false;
        stops.push_back(ColorConf{static_cast<std::uint8_t>(*level), static_cast<COLORREF>(*colour)});
        if (stops.size() > kMaxStops)
            return false;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return !stops.empty();
}

} // namespace

CGradationSetting::CGradationSetting()
{
    ResetToBuiltIns();
}

void CGradationSetting::ResetToBuiltIns()
{
    m_settings.clear();
    std::int16_t id = 1;
    for (const BuiltIn& b : BuiltIns()) {
        Setting s;
        s.name = b.name;
        s.stops = b.stops;
        s.count = static_cast<std::int32_t>(s.stops.size());
        s.id = id++;
        m_settings.push_back(std::move(s));
    }
    m_nCurId = 1;
    m_nCurIndex = 0;
}

void CGradationSetting::NormaliseStops(std::vector<ColorConf>& stops)
{
    std::stable_sort(stops.begin(), stops.end(), [](const ColorConf& a, const ColorConf& b) { return a.level > b.level; });
    // One stop per level: the first one kept.
    stops.erase(std::unique(stops.begin(), stops.end(), [](const ColorConf& a, const ColorConf& b) { return a.level == b.level; }),
                stops.end());
    if (stops.empty() || stops.front().level != 255)
        stops.insert(stops.begin(), ColorConf{255, stops.empty() ? 0xFFFFFFu : stops.front().color});
    if (stops.back().level != 0)
        stops.push_back(ColorConf{0, stops.back().color});
}

int CGradationSetting::LoadGradationSetting(tessara::IProfile& profile)
{
    ResetToBuiltIns();
    const int count = std::clamp(profile.GetProfileInt(kSection, "Count", 0), 0, kMaxUserSettings);
    int read = 0;
    for (int i = 0; i < count; ++i) {
        Setting s;
        s.name = profile.GetProfileString(kSection, Key("Name", i));
        const int id = profile.GetProfileInt(kSection, Key("Id", i), -1);
        if (s.name.empty() || id < kFirstUserId || id > 0x7FFF)
            continue;
        if (!TextToStops(profile.GetProfileString(kSection, Key("Stops", i)), s.stops))
            continue;
        const bool duplicateId = std::any_of(m_settings.begin(), m_settings.end(),
                                             [id](const Setting& o) { return o.id == id; });
        if (duplicateId)
            continue;
        NormaliseStops(s.stops);
        s.count = static_cast<std::int32_t>(s.stops.size());
        s.id = static_cast<std::int16_t>(id);
        m_settings.push_back(std::move(s));
        ++read;
    }
    const int curId = profile.GetProfileInt(kSection, "CurId", 1);
    m_nCurId = 1;
    m_nCurIndex = 0;
    for (std::size_t i = 0; i < m_settings.size(); ++i) {
        if (m_settings[i].id == curId) {
            m_nCurId = m_settings[i].id;
            m_nCurIndex = static_cast<std::uint16_t>(i);
        }
    }
    return read;
}

int CGradationSetting::LoadGradationSetting()
{
    tessara::IProfile* profile = tessara::AppProfile();
    if (profile == nullptr) {
        ResetToBuiltIns();
        return 0;
    }
    return LoadGradationSetting(*profile);
}

int CGradationSetting::SaveGradationSetting(tessara::IProfile& profile) const
{
    bool ok = true;
    int n = 0;
    for (const Setting& s : m_settings) {
        if (IsBuiltInId(s.id))
            continue;
        std::vector<ColorConf> stops = s.stops;
        NormaliseStops(stops);
        ok &= profile.WriteProfileString(kSection, Key("Name", n), s.name);
        ok &= profile.WriteProfileInt(kSection, Key("Id", n), s.id);
        ok &= profile.WriteProfileString(kSection, Key("Stops", n), StopsToText(stops));
        ++n;
    }
    ok &= profile.WriteProfileInt(kSection, "Count", n);
    ok &= profile.WriteProfileInt(kSection, "CurId", m_nCurId);
    return ok ? 1 : 0;
}

int CGradationSetting::SaveGradationSetting() const
{
    tessara::IProfile* profile = tessara::AppProfile();
    return profile == nullptr ? 0 : SaveGradationSetting(*profile);
}

int CGradationSetting::SaveCurSetting(tessara::IProfile& profile) const
{
    return SaveGradationSetting(profile);
}

int CGradationSetting::SaveCurSetting() const
{
    return SaveGradationSetting();
}

int CGradationSetting::EraseCurSetting()
{
    if (m_nCurIndex >= m_settings.size() || IsBuiltInId(m_settings[m_nCurIndex].id))
        return 0;
    m_settings.erase(m_settings.begin() + m_nCurIndex);
    const std::size_t next = std::min<std::size_t>(m_nCurIndex == 0 ? 0 : m_nCurIndex - 1u, m_settings.size() - 1);
    m_nCurIndex = static_cast<std::uint16_t>(next);
    m_nCurId = m_settings[next].id;
    return 1;
}

const std::vector<ColorConf>* CGradationSetting::GetCurColorConf() const
{
    if (m_nCurIndex >= m_settings.size())
        return nullptr;
    return &m_settings[m_nCurIndex].stops;
}

int CGradationSetting::AddSetting(const std::string& name, const std::vector<ColorConf>& stops)
{
    std::int16_t id = kFirstUserId;
    for (const Setting& s : m_settings)
        id = std::max<std::int16_t>(id, static_cast<std::int16_t>(s.id + 1));
    Setting s;
    s.name = name;
    s.stops = stops;
    NormaliseStops(s.stops);
    s.count = static_cast<std::int32_t>(s.stops.size());
    s.id = id;
    m_settings.push_back(std::move(s));
    return static_cast<int>(m_settings.size() - 1);
}
