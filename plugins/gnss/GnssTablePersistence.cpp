#include "plugins/gnss/GnssTablePersistence.h"

#include "plugins/common/ComboListIni.h"
#include "plugins/common/IniHelpers.h"
#include "plugins/gnss/GnssPluginTable.h"
#include "plugins/gnss/GnssTableAccess.h"

#include "hostfw/IniBatchWriter.h"
#include "hostfw/IniFile.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/Tab04827Data.h"
#include "platform/Cp932.h"

#include <filesystem>

namespace mod04827 {

namespace {

constexpr SurveyVariant kVariants[] = {SurveyVariant::Control, SurveyVariant::Levelling, SurveyVariant::Elevation3,
                                       SurveyVariant::Elevation4};

std::string Section()
{
    return GnssPluginTable().settingsSection;
}

}  // namespace

GnssIniFolders GnssIniFolders::FromHost()
{
    GnssIniFolders f;
    PeldaIni::GetBinderCommonDataPath(f.commonData);
    PeldaIni::GetPeldaUserDataRootPath(f.userRoot);
    PeldaIni::GetPeldaPath(PeldaIni::kSettingsFolder, f.listFolder);
    return f;
}

GnssTablePersistence::GnssTablePersistence(GnssIniFolders folders) : m_folders(std::move(folders)) {}

std::string GnssTablePersistence::IniPath(const std::string& folder, SurveyVariant variant) const
{
    if (folder.empty()) return {};
    return JoinHostPath(folder, std::string(IniFileName(variant)));
}

bool GnssTablePersistence::ReadIniFile(const std::string& path, SurveyVariant variant, GnssTableSet& out) const
{
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) return false;
    IniFile file;
    std::string error;
    if (!file.Load(path, error)) return false;
    out.Clear();
    const std::string prefix(KeyPrefix(variant));
    const auto& keys = GnssTableKeys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::optional<std::string> value = file.Get(Section(), prefix + std::string(keys[i].iniKey));
        if (!value) continue;
        if (keys[i].isShort)
            out.shorts[i] = plugcommon::LeadingShort(*value);
        else
            out.texts[i] = tessara::CutToCp932Bytes(*value, 254);
    }
    return true;
}

void GnssTablePersistence::FillDefaults(SurveyVariant variant, GnssTableSet& out) const
{
    out.Clear();
    const std::string listFile = m_folders.listFolder.empty()
                                     ? std::string()
                                     : JoinHostPath(m_folders.listFolder, std::string(ListFileName(variant)));
    const std::string prefix(KeyPrefix(variant));
    const auto& keys = GnssTableKeys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].isShort) {
            out.shorts[i] = static_cast<short>(keys[i].defaultEntry);
        } else if (!keys[i].listKey.empty() && !listFile.empty()) {
            out.texts[i] = plugcommon::ReadComboItem(listFile, GnssPluginTable().listSection,
                                                     prefix + std::string(keys[i].listKey), keys[i].defaultEntry);
        }
    }
}

void GnssTablePersistence::ReadSet(SurveyVariant variant, GnssTableSet& out) const
{
    out.Clear();
    if (ReadIniFile(IniPath(m_folders.commonData, variant), variant, out)) return;
    if (ReadIniFile(IniPath(m_folders.userRoot, variant), variant, out)) return;
    FillDefaults(variant, out);
}

int GnssTablePersistence::WriteSet(SurveyVariant variant, const GnssTableSet& set) const
{
    int written = 0;
    const std::string prefix(KeyPrefix(variant));
    const auto& keys = GnssTableKeys();
    for (const std::string& folder : {m_folders.commonData, m_folders.userRoot}) {
        const std::string path = IniPath(folder, variant);
        if (path.empty() || !PeldaIni::CreateDir(folder)) continue;
        IniBatchWriter writer(path);
        bool ok = writer.IsReadable();
        for (std::size_t i = 0; ok && i < keys.size(); ++i) {
            const std::string key = prefix + std::string(keys[i].iniKey);
            ok = keys[i].isShort ? writer.WriteInt(Section(), key, set.shorts[i])
                                 : writer.WriteString(Section(), key, set.texts[i]);
        }
        std::string error;
        if (ok && writer.Commit(error)) ++written;
    }
    return written;
}

void GnssTablePersistence::PrepareNewPart(Tab04827Data& data, short zone, const std::string& today) const
{
    for (SurveyVariant v : kVariants) {
        GnssTableSet set;
        ReadSet(v, set);
        set.SetText(GnssRecord::F1, 2, today);
        if (v == SurveyVariant::Control || v == SurveyVariant::Levelling) set.SetZone(zone);
        WriteTableSet(data, v, set);
    }
}

bool GnssTablePersistence::ServeReloadFlags(Tab04827Data& data) const
{
    const short flags = ReadReloadFlags(data);
    if (flags == 0) return false;
    GnssTableSet control;
    ReadTableSet(data, SurveyVariant::Control, control);
    const auto reload = [&](SurveyVariant v) {
        GnssTableSet set;
        ReadSet(v, set);
        set.SetZone(control.Zone());
        set.SetText(GnssRecord::F1, 2, control.Text(GnssRecord::F1, 2));
        WriteTableSet(data, v, set);
    };
    if (flags & 0x01) reload(SurveyVariant::Levelling);
    if (flags & 0x02) {
        reload(SurveyVariant::Elevation3);
        reload(SurveyVariant::Elevation4);
    }
    WriteReloadFlags(data, 0);
    return true;
}

int GnssTablePersistence::SaveAllSets(const Tab04827Data& data) const
{
    int written = 0;
    for (SurveyVariant v : kVariants) {
        GnssTableSet set;
        if (ReadTableSet(data, v, set)) written += WriteSet(v, set);
    }
    return written;
}

}  // namespace mod04827
