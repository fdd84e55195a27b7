#include "plugins/levelling/LevellingSettings.h"

#include <filesystem>
#include <map>

#include "hostfw/IniBatchWriter.h"
#include "hostfw/IniFile.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/RecordLayout.h"
#include "hostfw/Tab00963Data.h"
#include "platform/Cp932.h"
#include "plugins/common/IniHelpers.h"
#include "plugins/levelling/LevellingKeys.h"
#include "plugins/levelling/LevellingRecords.h"

namespace mod00963 {

namespace {

constexpr const char* kSection = "水準測量品質評価表";
constexpr const char* kFileName = "\\SUIHYOUKA.ini";
constexpr std::size_t kTextBytes = 254;

const RecordLayout& LayoutOf(std::size_t r)
{
    return *Tab00963Data::Records().ByName(LevellingKeys::Records()[r].record);
}

bool IsShortField(std::size_t r, std::size_t field)
{
    const RecordLayout& layout = LayoutOf(r);
    return field < layout.FieldCount() && layout.Fields()[field] == FieldKind::Short;
}

// Calls fn(record index, field, key name) for the 64 stored keys in order.
template <typename Fn>
void ForEachStoredKey(Fn fn)
{
    std::size_t key = 0;
    const auto& records = LevellingKeys::Records();
    for (std::size_t r = 0; r < records.size(); ++r) {
        for (std::size_t f = 0; f < records[r].fieldCount; ++f)
            fn(r, f, LevellingKeys::IniKeys()[key++]);
    }
}

// The page showing a record's texts, for its list keys (F1 has its own).
short PageOfRecord(std::size_t r)
{
    static const std::array<short, 7> pages = {0, -1, 2, 3, 4, 5, 6};
    return pages[r];
}

// The list entry that serves as a field's built-in default.
int DefaultEntry(std::size_t r, const std::string& listKey)
{
    static const std::map<std::string, int> exceptions = {
        {"論理位相要求", 2}, {"論理位相結果", 2}, {"位置絶対方法", 1}, {"位置絶対結果", 1},
        {"時間測定方法", 0}, {"時間一貫方法", 0}, {"時間妥当方法", 0}, {"主題分類要求", 2},
        {"主題分類結果", 2}, {"主題定量要求", 2}, {"主題定量結果", 2},
    };
    const auto found = exceptions.find(listKey);
    if (found != exceptions.end())
        return found->second;
    return PageOfRecord(r) == 5 ? 2 : 0;
}

} // namespace

bool LoadLevellingDefaultsFromIni(const std::string& path, LevellingDefaultRecords& records)
{
    IniFile ini;
    std::string error;
    if (path.empty() || !ini.Load(path, error) || !ini.Exists())
        return false;
    for (std::size_t r = 0; r < records.size(); ++r)
        records[r] = PartRecord(LayoutOf(r));
    ForEachStoredKey([&](std::size_t r, std::size_t f, const char* key) {
        const std::string value = ini.Get(kSection, key).value_or("");
        if (IsShortField(r, f))
            records[r].SetShort(f, plugcommon::LeadingShort(value));
        else
            records[r].SetText(f, tessara::CutToCp932Bytes(value, kTextBytes));
    });
    return true;
}

bool SaveLevellingDefaultsToIni(const std::string& path, const LevellingDefaultRecords& records, std::string& error)
{
    if (path.empty()) {
        error = "保存先がありません。";
        return false;
    }
    PeldaIni::CreateDir(std::filesystem::path(path).parent_path().string());
    IniBatchWriter writer(path);
    ForEachStoredKey([&](std::size_t r, std::size_t f, const char* key) {
        if (IsShortField(r, f))
            writer.WriteInt(kSection, key, records[r].Short(f));
        else
            writer.WriteString(kSection, key, records[r].Text(f));
    });
    return writer.Commit(error);
}

void FillBuiltInLevellingDefaults(LevellingDefaultRecords& records)
{
    const plugcommon::PartListFiller& lists = LevellingKeys::Lists();
    for (std::size_t r = 0; r < records.size(); ++r) {
        records[r] = PartRecord(LayoutOf(r));
        const short page = PageOfRecord(r);
        int item = 0;
        for (std::size_t f = 0; f < LevellingKeys::Records()[r].fieldCount; ++f) {
            if (IsShortField(r, f)) {
                records[r].SetShort(f, 0);
                continue;
            }
            const std::optional<std::string> key = lists.KeyOfItem(page, item++);
            const std::string text = key && !key->empty() ? ReadComboItem(*key, DefaultEntry(r, *key)) : std::string();
            records[r].SetText(f, text);
        }
    }
    records[0].SetShort(rec::kF1Zone, 1);
    records[0].SetShort(rec::kF1Grade, 1);
}

std::string LevellingSettings::CommonDataFile()
{
    return plugcommon::CommonDataSettingsFile(kFileName);
}

std::string LevellingSettings::UserRootFile()
{
    return plugcommon::UserRootSettingsFile(kFileName);
}

bool LevellingSettings::LoadDefaults(Tab00963Data& data, int currentZone, const std::string& today)
{
    LevellingDefaultRecords records;
    if (!LoadLevellingDefaultsFromIni(CommonDataFile(), records) &&
        !LoadLevellingDefaultsFromIni(UserRootFile(), records))
        FillBuiltInLevellingDefaults(records);
    records[0].SetShort(rec::kF1Zone, static_cast<short>(currentZone & 0xFF));
    records[0].SetText(rec::kF1Created, today);
    bool stored = true;
    for (std::size_t r = 0; r < records.size(); ++r)
        stored = data.PutRec(LevellingKeys::Records()[r].record, records[r]) != 0 && stored;
    return stored;
}

bool LevellingSettings::Save(const Tab00963Data& data, std::string& error)
{
    LevellingDefaultRecords records;
    for (std::size_t r = 0; r < records.size(); ++r) {
        if (!data.GetRec(LevellingKeys::Records()[r].record, records[r])) {
            error = std::string("レコードを読めません: ") + LevellingKeys::Records()[r].record;
            return false;
        }
    }
    bool ok = true;
    for (const std::string& path : {CommonDataFile(), UserRootFile()}) {
        std::string fileError;
        if (!SaveLevellingDefaultsToIni(path, records, fileError)) {
            ok = false;
            error = fileError;
        }
    }
    return ok;
}

} // namespace mod00963
