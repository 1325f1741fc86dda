#include "startup/AppDirectory.h"

#include <unistd.h>

#include "common/BuildInfo.h"
#include "common/FindFile.h"

namespace fs = std::filesystem;

namespace
{

bool HoldsFormats(const fs::path& dir)
{
    std::error_code ec;
    return fs::is_regular_file(FindFile::AnyCase(dir, "FILE.FMT"), ec);
}

} // namespace

fs::path AppDirectory::Find(const fs::path& exeDir)
{
    if (HoldsFormats(exeDir))
        return exeDir;
    const fs::path installed = (exeDir / BuildInfo::AppDirFromBin).lexically_normal();
    return HoldsFormats(installed) ? installed : exeDir;
}

bool AppDirectory::Writable(const fs::path& dir)
{
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

AppDirectory::DataFolder AppDirectory::StartFolder(const fs::path& appDir, bool appDirWritable,
                                                   const fs::path& documents)
{
    if (appDirWritable || documents.empty())
        return {appDir, {}};
    const fs::path own = documents / OwnFolderName;
    std::error_code ec;
    fs::create_directories(own, ec);
    if (ec || !fs::is_directory(own, ec))
        return {appDir, "The data folder " + own.string() + " could not be made (" +
                            (ec ? ec.message() : std::string("a file of that name is there")) +
                            "). Files are opened from " + appDir.string() + "."};
    return {own, CopyDemoFiles(appDir, own)};
}

std::string AppDirectory::CopyDemoFiles(const fs::path& from, const fs::path& to)
{
    std::string problems;
    for (const char* name : DemoFiles) {
        const fs::path source = FindFile::AnyCase(from, name);
        const fs::path target = to / name;
        std::error_code ec;
        if (!fs::exists(source, ec) || fs::exists(FindFile::AnyCase(to, name), ec))
            continue;
        // Without overwrite the copy refuses a file that appeared meanwhile.
        if (fs::copy_file(source, target, fs::copy_options::none, ec)) {
            // The installed copy is read-only to the operator; theirs is for keying.
            fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write,
                            fs::perm_options::add, ec);
            continue;
        }
        if (ec == std::errc::file_exists)
            continue;
        std::error_code ignored;
        fs::remove(target, ignored); // no half demo file is left to be opened
        problems +=
            "The demo file " + target.string() + " could not be copied (" + ec.message() + ").\n";
    }
    return problems;
}
