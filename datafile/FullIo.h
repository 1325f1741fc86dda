#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Result.h"
#include "datafile/FileIo.h"

// Whole reads and writes over a FileIo: the calls are repeated until all is moved, a
// signal's interruption retried, and a failure given as the system's description.
namespace FullIo
{

// Fills buf from offset; buf is shortened to what the file held.
Result<void> ReadAt(FileIo& io, int fd, std::int64_t offset, std::string& buf);
Result<void> WriteAt(FileIo& io, int fd, std::int64_t offset, std::string_view bytes);
// Makes a rename or creation in the folder survive a power cut; false when it may not.
bool SyncFolder(FileIo& io, const std::string& folder);

} // namespace FullIo
