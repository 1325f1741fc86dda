#pragma once

#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>

// A folder of its own for one test, removed with everything in it afterwards. Names are
// taken inside it; an absolute name stands for itself.
class TempDir
{
public:
    TempDir()
    {
        std::string name = (std::filesystem::temp_directory_path() / "kvtest-XXXXXX").string();
        m_path = ::mkdtemp(name.data());
    }
    ~TempDir() { std::filesystem::remove_all(m_path, m_ec); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    // Writes bytes exactly as given; returns the file's path.
    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(file(name), std::ios::binary | std::ios::trunc) << bytes;
        return file(name);
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(file(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path m_path;
    std::error_code m_ec;
};

// Joins lines with CR LF, each line ended.
inline std::string CrLf(std::initializer_list<std::string> lines)
{
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}
