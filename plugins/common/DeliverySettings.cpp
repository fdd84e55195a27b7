#include "plugins/common/DeliverySettings.h"

#include "hostfw/IniBatchWriter.h"
#include "hostfw/IniFile.h"
#include "hostfw/PeldaIni.h"
#include "platform/Cp932.h"
#include "platform/Numbers.h"
#include "plugins/common/IniHelpers.h"
#include "plugins/common/PluginTable.h"

namespace plugcommon {

namespace {

constexpr const char* kSection = "基準点測量";
constexpr const char* kCommonSection = "共通";
constexpr const char* kFlagKey = "電子納品フラグ";
constexpr const char* kCountKey = "電子納品属性数";
constexpr const char* kAttributeKey = "電子納品属性";
constexpr const char* kAreaKey = "区域番号";
constexpr const char* kGradeKey = "等級・精度";

std::string AttributeKey(std::size_t number)
{
    return std::string(kAttributeKey) + "_" + std::to_string(number);
}

void ReadOne(const IniFile& ini, int& flag, std::vector<std::string>& attributes)
{
    const std::string flagText = ini.Get(kSection, kFlagKey).value_or("");
    if (!flagText.empty())
        flag = LeadingShort(flagText) != 0 ? 1 : 0;
    if (attributes.size() > 6) {
        const std::string area = ini.Get(kCommonSection, kAreaKey).value_or("");
        if (!area.empty())
            attributes[3] = tessara::CutToCp932Bytes(area, kRecordTextBytes);
        const std::string grade = ini.Get(kCommonSection, kGradeKey).value_or("");
        if (!grade.empty())
            attributes[6] = tessara::CutToCp932Bytes(grade, kRecordTextBytes);
    }
    // A count that is no number, or out of 7..100, leaves the attributes as they are.
    const std::optional<int> count = tessara::ParseInt(ini.Get(kSection, kCountKey).value_or(""));
    if (!count || *count < DeliverySettings::kMinAttributes || *count > DeliverySettings::kMaxAttributes)
        return;
    attributes.clear();
    for (int i = 1; i <= *count; ++i)
        attributes.push_back(tessara::CutToCp932Bytes(
            ini.Get(kSection, AttributeKey(static_cast<std::size_t>(i))).value_or(""), kRecordTextBytes));
}

} // namespace

bool DeliverySettings::GetDeliveryIniPath(const PluginTable& table, bool hostFolder, std::string& out)
{
    std::string folder;
    const bool ok = hostFolder ? PeldaIni::GetPeldaPath(PeldaIni::kHostFolder, folder) : GetBndVurPath(folder);
    out = ok ? JoinHostPath(folder, table.deliveryIni) : std::string();
    return ok;
}

void DeliverySettings::InitDeliveryAttributes(const PluginTable& table, int& flag,
                                              std::vector<std::string>& attributes)
{
    attributes.assign(table.defaultAttributes.begin(), table.defaultAttributes.end());
    flag = 1;
}

void DeliverySettings::ReadDeliverySettings(const PluginTable& table, int& flag,
                                            std::vector<std::string>& attributes)
{
    for (bool hostFolder : {true, false}) {
        std::string path;
        IniFile ini;
        std::string error;
        if (GetDeliveryIniPath(table, hostFolder, path) && ini.Load(path, error))
            ReadOne(ini, flag, attributes);
    }
}

bool DeliverySettings::WriteDeliverySettings(const PluginTable& table, int flag,
                                             const std::vector<std::string>& attributes)
{
    bool ok = true;
    for (bool hostFolder : {true, false}) {
        std::string path;
        if (!GetDeliveryIniPath(table, hostFolder, path)) {
            ok = false;
            continue;
        }
        IniBatchWriter writer(path);
        writer.WriteInt(kSection, kFlagKey, flag);
        writer.WriteInt(kSection, kCountKey, static_cast<int>(attributes.size()));
        for (std::size_t i = 0; i < attributes.size(); ++i)
            writer.WriteString(kSection, AttributeKey(i + 1), attributes[i]);
        if (attributes.size() > 6) {
            writer.WriteString(kCommonSection, kAreaKey, attributes[3]);
            writer.WriteString(kCommonSection, kGradeKey, attributes[6]);
        }
        std::string error;
        ok = writer.Commit(error) && ok;
    }
    return ok;
}

} // namespace plugcommon
