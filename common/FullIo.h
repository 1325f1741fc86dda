#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "common/FileHandle.h"
#include "common/FileIo.h"
#include "common/Result.h"

// Whole reads and writes over a FileIo: the calls are repeated until all is moved, a
// signal's interruption retried, and a failure given as the system's description.
namespace FullIo
{

// Files the program reads whole (FILE.FMT, the tips, the settings, a script) are small;
// anything larger is not one of them.
constexpr std::size_t WholeFileLimit = 16 << 20;

// Fills buf from offset; buf is shortened to what the file held.
Result<void> ReadAt(FileIo& io, int fd, std::int64_t offset, std::string& buf);
Result<void> WriteAt(FileIo& io, int fd, std::int64_t offset, std::string_view bytes);
// Makes a rename or creation in the folder survive a power cut; false when it may not.
bool SyncFolder(FileIo& io, const std::string& folder);

// What a file that is not a regular one is, for a refusal: "a folder", "a named pipe
// (FIFO)", "a socket", "a device"; empty for a regular file.
std::string KindOf(const struct stat& st);
// Opens path without ever waiting on a pipe or a device, and makes sure, on the descriptor
// itself, that it is a regular file. The descriptor, or an error whose code is the
// system's (ENOENT for a missing file) or EINVAL for a file of another kind.
Result<int> OpenRegular(FileIo& io, const std::string& path, int flags, mode_t mode = 0);
// A regular file opened for reading, with its length when opened.
struct OpenedFile {
    FileHandle file;
    std::int64_t length = 0;
};
// OpenRegular for reading, with errors naming the path: what the block readers start from.
Result<OpenedFile> OpenForReading(FileIo& io, const std::string& path);
// The descriptor and the path name the same file now (device and inode).
bool SameFile(FileIo& io, int fd, const std::string& path);
// The whole of a regular file of at most limit bytes.
Result<std::string> ReadFile(FileIo& io, const std::string& path,
                             std::size_t limit = WholeFileLimit);
// Its lines, without their CR LF (or LF) ends.
Result<std::vector<std::string>> ReadLines(FileIo& io, const std::string& path);

} // namespace FullIo
