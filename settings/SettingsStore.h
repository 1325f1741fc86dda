#pragma once

#include <string>
#include <utility>
#include <vector>

// The per-user settings store: string values addressed by application, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual std::string getSetting(const std::string& app, const std::string& section,
                                   const std::string& key, const std::string& def) const = 0;
    // Whether the key is stored at all: any value, an empty one included, can be stored.
    virtual bool hasSetting(const std::string& app, const std::string& section,
                            const std::string& key) const = 0;
    virtual void saveSetting(const std::string& app, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
    // Every key and value of a section, in key order.
    virtual std::vector<std::pair<std::string, std::string>>
    getAllSettings(const std::string& app, const std::string& section) const = 0;
};
