#include "plugins/ctrlpoint/TableSettings.h"

#include <optional>
#include <vector>

#include "hostfw/IniBatchWriter.h"
#include "hostfw/IniFile.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/RecordLayout.h"
#include "hostfw/Tab00519Data.h"
#include "platform/Cp932.h"
#include "plugins/common/IniHelpers.h"
#include "plugins/ctrlpoint/ControlPointKeys.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"

namespace mod00519 {

namespace {

constexpr const char* kSection = "基準点品質評価表";
constexpr const char* kFileName = "\\KJNHYOUKA.ini";
constexpr std::size_t kTextBytes = 254;

bool IsShortField(const char* record, std::size_t field)
{
    const RecordLayout* layout = Tab00519Data::Records().ByName(record);
    return layout != nullptr && field < layout->FieldCount() && layout->Fields()[field] == FieldKind::Short;
}

// The settings file to take defaults from: the first that exists and reads.
std::optional<IniFile> ReadableSettings()
{
    for (const std::string& path : {TableSettings::CommonDataFile(), TableSettings::UserRootFile()}) {
        if (path.empty())
            continue;
        IniFile file;
        std::string error;
        if (file.Load(path, error) && file.Exists())
            return file;
    }
    return std::nullopt;
}

void FillFromSettings(const IniFile& ini, const ControlPointKeys::RecordKeys& keys, PartRecord& record)
{
    for (std::size_t f = 0; f < keys.keys.size(); ++f) {
        const std::string value = ini.Get(kSection, keys.keys[f]).value_or("");
        if (IsShortField(keys.record, f))
            record.SetShort(f, plugcommon::LeadingShort(value));
        else
            record.SetText(f, tessara::CutToCp932Bytes(value, kTextBytes));
    }
}

void FillFromLists(const ControlPointKeys::RecordKeys& keys, PartRecord& record)
{
    int item = 0;
    for (std::size_t f = 0; f < keys.keys.size(); ++f) {
        if (IsShortField(keys.record, f)) {
            record.SetShort(f, 0);
            continue;
        }
        const std::optional<std::string> listKey = ControlPointKeys::Lists().KeyOfItem(keys.pageType, item++);
        record.SetText(f, listKey ? ReadComboItem(*listKey, 0) : std::string());
    }
    if (std::string(keys.record) == "F1") {
        record.SetShort(rec::kF1Zone, 1);
        record.SetShort(rec::kF1Grade, 1);
    }
}

} // namespace

std::string TableSettings::CommonDataFile()
{
    return plugcommon::CommonDataSettingsFile(kFileName);
}

std::string TableSettings::UserRootFile()
{
    return plugcommon::UserRootSettingsFile(kFileName);
}

bool TableSettings::LoadDefaults(Tab00519Data& data, int currentZone, const std::string& today)
{
    const std::optional<IniFile> settings = ReadableSettings();
    bool stored = true;
    for (const ControlPointKeys::RecordKeys& keys : ControlPointKeys::SettingsKeys()) {
        PartRecord record(*Tab00519Data::Records().ByName(keys.record));
        if (settings)
            FillFromSettings(*settings, keys, record);
        else
            FillFromLists(keys, record);
        if (std::string(keys.record) == "F1") {
            record.SetShort(rec::kF1Zone, static_cast<short>(currentZone & 0xFF));
            record.SetText(rec::kF1Created, today);
        }
        stored = data.PutRec(keys.record, record) != 0 && stored;
    }
    return stored;
}

bool TableSettings::Save(const Tab00519Data& data, std::string& error)
{
    std::vector<PartRecord> records;
    for (const ControlPointKeys::RecordKeys& keys : ControlPointKeys::SettingsKeys()) {
        PartRecord record;
        if (!data.GetRec(keys.record, record)) {
            error = std::string("レコードを読めません: ") + keys.record;
            return false;
        }
        records.push_back(record);
    }
    bool ok = true;
    for (const std::string& path : {CommonDataFile(), UserRootFile()}) {
        if (path.empty())
            continue;
        PeldaIni::CreateDir(std::filesystem::path(path).parent_path().string());
        IniBatchWriter writer(path);
        const auto& all = ControlPointKeys::SettingsKeys();
        for (std::size_t r = 0; r < all.size(); ++r) {
            for (std::size_t f = 0; f < all[r].keys.size(); ++f) {
                if (IsShortField(all[r].record, f))
                    writer.WriteInt(kSection, all[r].keys[f], records[r].Short(f));
                else
                    writer.WriteString(kSection, all[r].keys[f], records[r].Text(f));
            }
        }
        std::string fileError;
        if (!writer.Commit(fileError)) {
            ok = false;
            error = fileError;
        }
    }
    return ok;
}

} // namespace mod00519
