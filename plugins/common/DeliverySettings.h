#pragma once

#include <string>
#include <vector>

namespace plugcommon {

struct PluginTable;

// Electronic-delivery settings: the plug-in's "*CSV.INI" in the host folder and in the
// current-conditions folder (the second overrides the first).
class DeliverySettings {
public:
    static constexpr int kMinAttributes = 7;
    static constexpr int kMaxAttributes = 100;

    // Path of the settings file; false when the folder cannot be named.
    static bool GetDeliveryIniPath(const PluginTable& table, bool hostFolder, std::string& out);
    static void InitDeliveryAttributes(const PluginTable& table, int& flag,
                                       std::vector<std::string>& attributes);
    // A count that is not a number, below 7 or above 100 leaves the attributes as they are.
    static void ReadDeliverySettings(const PluginTable& table, int& flag,
                                     std::vector<std::string>& attributes);
    // False when a file could not be written (each file in one atomic replace).
    static bool WriteDeliverySettings(const PluginTable& table, int flag,
                                      const std::vector<std::string>& attributes);
};

} // namespace plugcommon
