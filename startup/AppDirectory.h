#pragma once

#include <array>
#include <filesystem>
#include <string>

// Where the program's own files are and which folder the operator's files are opened from
// at first. Run from the build folder both are the executable's folder; installed, the own
// files are read-only in share/korvalen/ and the operator works in a folder of their own.
class AppDirectory
{
public:
    // The demo data files an installed program copies to the operator's folder.
    static constexpr std::array<const char*, 2> DemoFiles = {"DEMO.DAT", "ORDERS.DAT"};
    static constexpr const char* OwnFolderName = "Korvalen";

    // The executable's folder when it holds FILE.FMT, else the installed share folder
    // beside it when that does, else the executable's folder (whose files are then
    // reported missing as they would be anywhere).
    static std::filesystem::path Find(const std::filesystem::path& exeDir);

    struct DataFolder {
        std::filesystem::path path;
        std::string problem; // what went wrong setting it up; empty when nothing did
    };
    // A writable application directory is the data folder, as it always was. Otherwise the
    // operator's own documents/Korvalen, made on first use, with the demo files copied in
    // where they are missing (never over a file there). Should that fail, the application
    // directory is used and the problem said.
    static DataFolder StartFolder(const std::filesystem::path& appDir, bool appDirWritable,
                                  const std::filesystem::path& documents);
    // Whether this process may make files in dir.
    static bool Writable(const std::filesystem::path& dir);

private:
    static std::string CopyDemoFiles(const std::filesystem::path& from,
                                     const std::filesystem::path& to);
};
