#pragma once

#include <map>
#include <string>
#include <tuple>

#include "settings/SettingsStore.h"

// A settings store held in memory, for tests.
class MemorySettingsStore : public SettingsStore
{
public:
    std::string getSetting(const std::string& app, const std::string& section,
                           const std::string& key, const std::string& def) const override
    {
        const auto it = values.find({app, section, key});
        return it == values.end() ? def : it->second;
    }
    bool hasSetting(const std::string& app, const std::string& section,
                    const std::string& key) const override
    {
        return values.count({app, section, key}) != 0;
    }
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        values[{app, section, key}] = value;
    }
    std::vector<std::pair<std::string, std::string>>
    getAllSettings(const std::string& app, const std::string& section) const override
    {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& [k, v] : values)
            if (std::get<0>(k) == app && std::get<1>(k) == section)
                out.emplace_back(std::get<2>(k), v);
        return out;
    }

    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
};
