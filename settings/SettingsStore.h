#pragma once

#include <functional>
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

    // Told what the operator must know, once for each: a stored settings file that could not
    // be read (it is then never written over in this run), the first write that failed.
    std::function<void(const std::string& message)> OnFailure;

protected:
    void tell(const std::string& message) const
    {
        if (OnFailure)
            OnFailure(message);
    }
    // The words for those two.
    static std::string UnreadableMessage(const std::string& file, const std::string& reason);
    static std::string UnwritableMessage(const std::string& file, const std::string& reason);
};
