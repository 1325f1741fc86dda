#pragma once

#include "settings/SettingsStore.h"

// The settings store over QSettings: one INI file per application name in the user's
// configuration folder, under the organisation "Korvalen".
class QtSettingsStore : public SettingsStore
{
public:
    static constexpr const char* Organisation = "Korvalen";

    std::string getSetting(const std::string& app, const std::string& section,
                           const std::string& key, const std::string& def) const override;
    bool hasSetting(const std::string& app, const std::string& section,
                    const std::string& key) const override;
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<std::pair<std::string, std::string>>
    getAllSettings(const std::string& app, const std::string& section) const override;
};
