#include "fuzz/FuzzFolder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

FuzzFolder::FuzzFolder(std::string_view prefix)
{
    // A memory file system when there is one: a disk's latency would bound the input rate.
    std::error_code ec;
    const fs::path base =
        fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path(ec);
    std::string pattern = (base / prefix).string() + "-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr)
        m_path = pattern;
}

FuzzFolder::~FuzzFolder()
{
    std::error_code ec;
    if (!m_path.empty())
        fs::remove_all(m_path, ec);
}

bool FuzzFolder::write(const std::string& name, std::string_view bytes) const
{
    std::ofstream out(m_path / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

std::string FuzzFolder::read(const std::string& name) const
{
    std::ifstream in(m_path / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const FuzzFolder& FuzzFolder::WithFormats(std::string_view prefix, std::string_view formats)
{
    static const FuzzFolder folder(prefix);
    static const bool written = !folder.path().empty() && folder.write("FILE.FMT", formats);
    if (!written) {
        std::fputs("cannot prepare a temporary folder for the fuzzer\n", stderr);
        std::abort();
    }
    return folder;
}
