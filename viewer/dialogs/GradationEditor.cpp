#include "viewer/dialogs/GradationEditor.h"

#include "platform/Cp932.h"
#include "platform/MessageBox.h"
#include "viewer/buffers/GradationLookup.h"
#include "viewer/dialogs/NumberText.h"

#include <Qt>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr std::size_t kNameBytes = 260;

void Refuse(const std::string& text)
{
    tessara::MessageBox(text, tessara::kDefaultMessageCaption, tessara::MB_ICONHAND);
}

std::string Format(const char* pattern, int value)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

bool IsFixedLevel(int level)
{
    return level == 0 || level == 255;
}

bool HasLevel(const std::vector<ColorConf>& stops, int level)
{
    return std::any_of(stops.begin(), stops.end(), [level](const ColorConf& c) { return c.level == level; });
}

} // namespace

const CGradationSetting::Setting* GradationEditor::Current() const
{
    return m_store.m_nCurIndex < m_store.m_settings.size() ? &m_store.m_settings[m_store.m_nCurIndex] : nullptr;
}

CGradationSetting::Setting* GradationEditor::Editable()
{
    if (ReadOnly())
        return nullptr;
    return &m_store.m_settings[m_store.m_nCurIndex];
}

bool GradationEditor::ReadOnly() const
{
    const auto* s = Current();
    return !s || CGradationSetting::IsBuiltInId(s->id);
}

int GradationEditor::StopCount() const
{
    const auto* s = Current();
    return s ? static_cast<int>(s->stops.size()) : 0;
}

std::optional<ColorConf> GradationEditor::Stop(int row) const
{
    if (row < 0 || row >= StopCount())
        return std::nullopt;
    return Current()->stops[static_cast<std::size_t>(row)];
}

bool GradationEditor::CanDeleteStop(int row) const
{
    const auto stop = Stop(row);
    return !ReadOnly() && stop && !IsFixedLevel(stop->level);
}

bool GradationEditor::CanEditLevel(int row) const
{
    const auto stop = Stop(row);
    if (ReadOnly() || !stop)
        return false;
    if (IsFixedLevel(stop->level)) {
        Refuse(Format("範囲：%dは変更できません。", stop->level));
        return false;
    }
    return true;
}

GradationEditor::Result GradationEditor::Relevel(int row, std::string_view text)
{
    auto* s = Editable();
    const auto stop = Stop(row);
    if (!s || !stop)
        return Result::Refused;
    if (text == std::to_string(stop->level))
        return Result::Unchanged;
    if (IsFixedLevel(stop->level)) {
        Refuse(Format("範囲：%dは変更できません。", stop->level));
        return Result::Refused;
    }
    const bool digitsOnly =
        !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto level = digitsOnly ? NumberText::ParseInteger(text) : std::nullopt;
    if (!level || *level > 255) {
        Refuse("範囲は1～254の整数を入力してください。");
        return Result::Refused;
    }
    if (HasLevel(s->stops, static_cast<int>(*level))) {
        Refuse("既に登録されている範囲は登録できません。");
        return Result::Refused;
    }
    s->stops[static_cast<std::size_t>(row)].level = static_cast<std::uint8_t>(*level);
    SortStops(s->stops);
    return Result::Changed;
}

bool GradationEditor::SetStopColour(int row, COLORREF colour)
{
    auto* s = Editable();
    if (!s || !Stop(row))
        return false;
    s->stops[static_cast<std::size_t>(row)].color = colour;
    return true;
}

std::optional<int> GradationEditor::AddStop(int level, COLORREF colour)
{
    auto* s = Editable();
    if (!s || level < 0 || level > 255)
        return std::nullopt;
    if (HasLevel(s->stops, level)) {
        Refuse("既に登録されている範囲は登録できません。");
        return std::nullopt;
    }
    s->stops.push_back({static_cast<std::uint8_t>(level), colour});
    SortStops(s->stops);
    s->count = static_cast<std::int32_t>(s->stops.size());
    for (std::size_t i = 0; i < s->stops.size(); ++i) {
        if (s->stops[i].level == level)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

bool GradationEditor::DeleteStop(int row)
{
    auto* s = Editable();
    const auto stop = Stop(row);
    if (!s || !stop)
        return false;
    if (IsFixedLevel(stop->level)) {
        Refuse(Format("範囲：%dは削除できません。", stop->level));
        return false;
    }
    const int answer = tessara::MessageBox(Format("範囲：%dを削除しますか？", stop->level),
                                           tessara::kDefaultMessageCaption,
                                           tessara::MB_YESNO | tessara::MB_ICONINFORMATION);
    if (answer != tessara::IDYES)
        return false;
    s->stops.erase(s->stops.begin() + row);
    s->count = static_cast<std::int32_t>(s->stops.size());
    return true;
}

std::optional<int> GradationEditor::Register(const std::string& name)
{
    const auto* current = Current();
    if (!current || name.empty())
        return std::nullopt;
    auto& settings = m_store.m_settings;
    const std::size_t firstUser = std::min<std::size_t>(3, settings.size());
    for (std::size_t i = firstUser; i < settings.size(); ++i) {
        if (settings[i].name == name) {
            Refuse("[" + name + "]は既に登録されています。");
            return std::nullopt;
        }
    }
    std::int16_t id = CGradationSetting::kFirstUserId;
    auto used = [&](std::int16_t candidate) {
        for (std::size_t i = firstUser; i < settings.size(); ++i) {
            if (settings[i].id == candidate)
                return true;
        }
        return false;
    };
    while (used(id))
        ++id;
    CGradationSetting::Setting copy;
    copy.name = name;
    copy.stops = current->stops;
    copy.count = static_cast<std::int32_t>(copy.stops.size());
    copy.id = id;
    settings.push_back(std::move(copy));
    Select(static_cast<int>(settings.size() - 1));
    return static_cast<int>(settings.size() - 1);
}

bool GradationEditor::DeleteCurrentSetting()
{
    const auto* s = Current();
    if (ReadOnly() || !s)
        return false;
    const int answer = tessara::MessageBox("[" + s->name + "]を削除しますか？", tessara::kDefaultMessageCaption,
                                           tessara::MB_YESNO | tessara::MB_ICONINFORMATION);
    if (answer != tessara::IDYES)
        return false;
    return m_store.EraseCurSetting() == 1;
}

void GradationEditor::Select(int index)
{
    if (index < 0 || index >= static_cast<int>(m_store.m_settings.size()))
        return;
    m_store.m_nCurIndex = static_cast<std::uint16_t>(index);
    m_store.m_nCurId = m_store.m_settings[static_cast<std::size_t>(index)].id;
}

GradationEditor::LevelKey GradationEditor::KeyStartsLevelEdit(int key, bool keypad, bool alt)
{
    // The keys are sorted as the keyboard's key codes run: up to F1 and the
    // letters they are the dialog's own; from F2 on they open the editor.
    if (alt)
        return LevelKey::Pass;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return LevelKey::Digit;
    if (keypad)
        return LevelKey::Pass;   // the pad's operators, its Enter and, without Num Lock, its moves
    if (key >= Qt::Key_F2 && key <= Qt::Key_F35)
        return LevelKey::Level;
    if (key > Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        return (key >= Qt::Key_A && key <= Qt::Key_Z) ? LevelKey::Pass : LevelKey::Level;
    if (key >= Qt::Key_exclamdown && key <= Qt::Key_ydiaeresis)
        return LevelKey::Level;   // the further printable keys, such as the yen key
    switch (key) {
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Back:
    case Qt::Key_Forward:
    case Qt::Key_Stop:
    case Qt::Key_Refresh:
    case Qt::Key_Search:
    case Qt::Key_Favorites:
    case Qt::Key_HomePage:
    case Qt::Key_VolumeMute:
    case Qt::Key_VolumeDown:
    case Qt::Key_VolumeUp:
    case Qt::Key_MediaNext:
    case Qt::Key_MediaPrevious:
    case Qt::Key_MediaStop:
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaTogglePlayPause:
    case Qt::Key_LaunchMail:
    case Qt::Key_LaunchMedia:
    case Qt::Key_Launch0:
    case Qt::Key_Launch1:
    case Qt::Key_Zenkaku_Hankaku:
    case Qt::Key_Hiragana_Katakana:
    case Qt::Key_Eisu_toggle:
        return LevelKey::Level;
    default:
        return LevelKey::Pass;
    }
}

COLORREF GradationEditor::LevelColour(double level) const
{
    const auto* s = Current();
    float r = 0, g = 0, b = 0;
    if (s)
        LookupGradationColor(static_cast<float>(level), r, g, b, &s->stops);
    auto byte = [](float c) { return static_cast<COLORREF>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255.0f)); };
    return byte(r) | (byte(g) << 8) | (byte(b) << 16);
}

std::string GradationEditor::CutName(std::string_view typed)
{
    std::string name = tessara::CutToCp932Bytes(typed, kNameBytes);
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!name.empty() && blank(name.back()))
        name.pop_back();
    std::size_t start = 0;
    while (start < name.size() && blank(name[start]))
        ++start;
    return name.substr(start);
}

void GradationEditor::SortStops(std::vector<ColorConf>& stops)
{
    std::stable_sort(stops.begin(), stops.end(),
                     [](const ColorConf& a, const ColorConf& b) { return a.level > b.level; });
}
