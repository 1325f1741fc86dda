#pragma once

#include <QString>

#include <map>
#include <memory>
#include <string>

#include "settings/SettingsStore.h"

class QSettings;

// The settings store over QSettings: one INI file per application name, APP.ini, in a folder
// of its own (the user's configuration folder + "/Korvalen" unless told another). A file
// that is there but cannot be read is never handed to QSettings, which would wait for ever
// on a FIFO: its settings read as missing and nothing is written over it in this run.
class QtSettingsStore : public SettingsStore
{
public:
    static constexpr const char* Organisation = "Korvalen";

    explicit QtSettingsStore(QString folder = DefaultFolder());
    ~QtSettingsStore() override;
    static QString DefaultFolder();

    std::string getSetting(const std::string& app, const std::string& section,
                           const std::string& key, const std::string& def) const override;
    bool hasSetting(const std::string& app, const std::string& section,
                    const std::string& key) const override;
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<std::pair<std::string, std::string>>
    getAllSettings(const std::string& app, const std::string& section) const override;

private:
    // The settings of app, or null when its file could not be read.
    QSettings* open(const std::string& app) const;

    QString m_folder;
    mutable std::map<std::string, std::unique_ptr<QSettings>> m_files; // null: unreadable
    bool m_writeFailureTold = false;
};
