#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A private folder in /dev/shm (else the temporary folder) for one fuzzing process; it is
// removed with its contents when the process ends normally.
class FuzzFolder
{
public:
    explicit FuzzFolder(std::string_view prefix);
    ~FuzzFolder();
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    // Empty when the folder could not be made.
    const std::filesystem::path& path() const { return m_path; }

    // Replaces name in the folder with bytes; false when that fails.
    bool write(const std::string& name, std::string_view bytes) const;
    // The whole content of name in the folder; empty when unreadable.
    std::string read(const std::string& name) const;

    // The process's one folder, holding FILE.FMT with formats written once; aborts when it
    // cannot be made.
    static const FuzzFolder& WithFormats(std::string_view prefix, std::string_view formats);

private:
    std::filesystem::path m_path;
};

// A failed check stops the fuzzer where it stands.
inline void Require(bool holds)
{
    if (!holds)
        __builtin_trap();
}
