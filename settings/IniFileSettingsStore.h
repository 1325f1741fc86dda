#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "common/Result.h"
#include "settings/SettingsStore.h"

class FileIo;

// A settings store in one INI file of our own choosing, for runs that must not touch the
// user's settings. Sections read "[APP/SECTION]"; the file is read once, when a setting is
// first asked for (a missing file is an empty store), and written whole on every save,
// through a copy renamed over it. A file that exists but cannot be read is never written.
class IniFileSettingsStore : public SettingsStore
{
public:
    IniFileSettingsStore(FileIo& io, std::filesystem::path file);

    std::string getSetting(const std::string& app, const std::string& section,
                           const std::string& key, const std::string& def) const override;
    bool hasSetting(const std::string& app, const std::string& section,
                    const std::string& key) const override;
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<std::pair<std::string, std::string>>
    getAllSettings(const std::string& app, const std::string& section) const override;

    // How the last write of the file went; a failed write keeps the values in memory.
    const Result<void>& lastWrite() const { return m_lastWrite; }

    // The file's text for the given sections. Names and values with outer blanks or
    // characters the format uses are written in double quotes with backslash escapes.
    using Sections = std::map<std::string, std::map<std::string, std::string>>;
    static std::string Render(const Sections& sections);
    // The sections of a file's text; lines that are neither a header nor "key=value",
    // and ";" or "#" comments, are skipped.
    static Sections ParseText(const std::string& text);

private:
    static std::string SectionName(const std::string& app, const std::string& section);
    // The file's sections, read on first use.
    const Sections& sections() const;
    Result<void> write() const;

    FileIo& m_io;
    std::filesystem::path m_file;
    mutable Sections m_sections;
    mutable bool m_loaded = false;
    mutable bool m_unreadable = false;
    Result<void> m_lastWrite;
    bool m_writeFailureTold = false;
};
